#pragma once

#include "Painter.h"

#include <string>
#include <vector>

namespace lumivar::test {

/// Writes every drawing call as one line of text.
class RecordingPainter final : public ui::Painter {
public:
    explicit RecordingPainter(std::vector<std::string>& log) : m_log(log) {}

    void CopyBitmap(int bitmapId, int x, int y, int width, int height) override {
        Add("bitmap " + std::to_string(bitmapId) + " " + Xy(x, y) + " " + std::to_string(width) +
            "x" + std::to_string(height));
    }
    void SetTransparentBackground() override { Add("transparent"); }
    void SetTextColor(ui::ColorRef color) override { Add("color " + std::to_string(color)); }
    void SelectFont(std::string_view face, int tenths) override {
        Add("font " + std::string(face) + " " + std::to_string(tenths));
    }
    void DrawText(int x, int y, std::string_view text) override {
        Add("text " + Xy(x, y) + " " + std::string(text));
    }
    void DrawIcon(int x, int y, int iconId) override {
        Add("icon " + std::to_string(iconId) + " " + Xy(x, y));
    }

private:
    static std::string Xy(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
    void Add(std::string line) { m_log.push_back(std::move(line)); }
    std::vector<std::string>& m_log;
};

} // namespace lumivar::test
