// A dialog with one label showing the time, refreshed once a second by a
// precise timer: what any Qt program doing our job must at least cost.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("bench-floor"));
    auto* label = new QLabel(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, label, [label] {
        label->setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    });
    timer.start(1000);
    dialog.show();
    return application.exec();
}
