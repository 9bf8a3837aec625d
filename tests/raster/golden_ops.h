// Lists of device-pixel drawing operations, drawn with our rasteriser: the
// same lists the reference renderer (tools/gdi-reference) draws with the
// platform, so the two sets of pixels can be compared.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/raster/shapes.h"
#include "platform/raster/text.h"

namespace morlu::raster::testing {

// One drawn case: its name and pixels.
struct OpsPicture {
    std::string name;
    Surface pixels;
    // For each "extent" operation: "extent W H ascent A descent D STRING".
    std::vector<std::string> extents{};
};

// The drawing state of one case, as a fresh memory context has it: a
// one-pixel black pen, a white brush, opaque black text on white.
class OpsCanvas {
public:
    OpsCanvas(std::string name, Size size) : picture_{std::move(name), Surface(size, 0x00FFFFFF)} {
    }

    // Run one operation; unknown ones are ignored, as the reference does.
    void run(const std::string& op, std::istringstream& args) {
        Surface& s = picture_.pixels;
        const PixelBox all = s.bounds();
        if (op == "pen") pen_ = read_pen(args);
        if (op == "brush") brush_ = read_brush(args);
        if (op == "rect" || op == "ellipse" || op == "line") {
            int32_t a = 0, b = 0, c = 0, d = 0;
            if (!(args >> a >> b >> c >> d)) return;
            if (op == "rect") draw_rectangle(s, all, {a, b, c, d}, pen_, brush_);
            if (op == "ellipse") draw_ellipse(s, all, {a, b, c, d}, pen_, brush_);
            if (op == "line") draw_line(s, all, {a, b}, {c, d}, pen_);
        }
        if (op == "polygon") {
            std::vector<Point> pts;
            Point p;
            while (args >> p.x >> p.y) pts.push_back(p);
            draw_polygon(s, all, pts, pen_, brush_);
        }
        if (op == "font") read_font(args);
        if (op == "textcolor") text_color_ = read_color(args);
        if (op == "bkcolor") bk_color_ = read_color(args);
        if (op == "bkmode") {
            std::string mode;
            args >> mode;
            opaque_ = mode == "opaque";
        }
        if (op == "text") draw_text_op(args);
        if (op == "stockfont") font_ = fonts_.open({13, 400, false, true, "monospace"});
        if (op == "extent") measure(args);
    }

    OpsPicture take() {
        return std::move(picture_);
    }

private:
    static uint32_t read_color(std::istringstream& args) {
        std::string hex;
        args >> hex;
        return static_cast<uint32_t>(std::stoul(hex.empty() ? "0" : hex, nullptr, 16)) & 0x00FFFFFF;
    }

    static Pen read_pen(std::istringstream& args) {
        std::string first;
        args >> first;
        if (first == "null") return Pen{.null = true};
        return Pen{.null = false, .width = std::stoi(first), .color = read_color(args)};
    }

    static Brush read_brush(std::istringstream& args) {
        std::string first;
        args >> first;
        if (first == "null") return Brush{.null = true};
        std::istringstream hex(first);
        return Brush{.null = false, .color = read_color(hex)};
    }

    void read_font(std::istringstream& args) {
        FontRequest request;
        args >> request.face >> request.height >> request.weight;
        for (char& c : request.face)
            if (c == '_') c = ' ';
        font_ = fonts_.open(request);
    }

    void draw_text_op(std::istringstream& args) {
        int32_t x = 0, y = 0;
        args >> x >> y;
        args.get();
        std::string text;
        std::getline(args, text);
        if (!font_) font_ = fonts_.open({});
        if (!font_) return;
        const auto background = opaque_ ? std::optional<uint32_t>(bk_color_) : std::nullopt;
        draw_text(picture_.pixels, picture_.pixels.bounds(), *font_, x, y, text, text_color_, background);
    }

    void measure(std::istringstream& args) {
        args.get();
        std::string text;
        std::getline(args, text);
        if (!font_) font_ = fonts_.open({});
        if (!font_) return;
        const Size size = text_extent(*font_, text);
        const FontMetrics m = font_metrics(*font_);
        picture_.extents.push_back("extent " + std::to_string(size.w) + " " + std::to_string(size.h) +
                                   " ascent " + std::to_string(m.ascent) + " descent " +
                                   std::to_string(m.descent) + " " + text);
    }

    FontCache fonts_;
    OpsPicture picture_;
    Pen pen_{.null = false, .width = 1, .color = 0};
    Brush brush_{.null = false, .color = 0x00FFFFFF};
    std::shared_ptr<const Font> font_;
    uint32_t text_color_ = 0;
    uint32_t bk_color_ = 0x00FFFFFF;
    bool opaque_ = true;
};

// Draw every case of a list: "case NAME W H", operations, "end".
inline std::vector<OpsPicture> draw_ops(std::istream& in) {
    std::vector<OpsPicture> out;
    std::optional<OpsCanvas> canvas;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream args(line);
        std::string op;
        if (!(args >> op) || op[0] == '#') continue;
        if (op == "case") {
            std::string name;
            Size size;
            if (args >> name >> size.w >> size.h && size.w > 0 && size.h > 0) canvas.emplace(name, size);
        } else if (canvas && op == "end") {
            out.push_back(canvas->take());
            canvas.reset();
        } else if (canvas) {
            canvas->run(op, args);
        }
    }
    return out;
}

}  // namespace morlu::raster::testing
