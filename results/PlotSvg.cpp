#include "PlotSvg.h"

#include "FilePath.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace rillo::results {

namespace {

/// A coordinate with at most two decimals, in the C locale's form.
std::string num(double v) {
    if (std::abs(v) < 0.005) v = 0;
    char text[40];
    std::snprintf(text, sizeof text, "%.2f", v);
    std::string s = text;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

/// The length of the well-formed UTF-8 sequence at `i`, or 0.
std::size_t utf8Length(const std::string& text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const std::size_t n = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > text.size()) return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    return n;
}

/// Text as XML character data: markup escaped, control characters (no
/// place in XML 1.0) dropped, and bytes that are not UTF-8 (a title typed
/// in another code page) shown as the replacement character.
std::string escaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = utf8Length(text, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        const char c = text[i];
        if (n > 1) out.append(text, i, n);
        else if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '"') out += "&quot;";
        else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n') out += c;
        i += n;
    }
    return out;
}

std::string colour(const Rgba& c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
    return text;
}

/// A paint attribute: none, or the colour with its opacity.
std::string paint(const char* what, const Rgba& c) {
    if (c.a == 0) return std::string(" ") + what + "=\"none\"";
    std::string out = std::string(" ") + what + "=\"" + colour(c) + "\"";
    if (c.a != 255) out += std::string(" ") + what + "-opacity=\"" + num(c.a / 255.0) + "\"";
    return out;
}

std::string fontAttributes(const PlotFont& font) {
    return " font-family=\"" + escaped(font.family) + "\" font-size=\"" + num(font.pixelSize) + "\"" +
           (font.bold ? " font-weight=\"bold\"" : "");
}

struct Writer {
    const PlotFonts& fonts;
    std::string out;

    void operator()(const SceneRect& r) {
        out += "<rect x=\"" + num(r.rect.left) + "\" y=\"" + num(r.rect.top) + "\" width=\"" + num(r.rect.width) +
               "\" height=\"" + num(r.rect.height) + "\"" + paint("fill", r.fill) + paint("stroke", r.stroke);
        if (r.stroke.a != 0) out += " stroke-width=\"" + num(r.strokeWidth) + "\"";
        out += "/>\n";
    }
    void operator()(const SceneLine& l) {
        out += "<line x1=\"" + num(l.from.x) + "\" y1=\"" + num(l.from.y) + "\" x2=\"" + num(l.to.x) + "\" y2=\"" +
               num(l.to.y) + "\"" + paint("stroke", l.colour) + " stroke-width=\"" + num(l.width) + "\"/>\n";
    }
    void operator()(const ScenePath& p) {
        out += p.closed ? "<polygon" : "<polyline";
        out += " points=\"";
        for (std::size_t i = 0; i < p.points.size(); ++i) {
            if (i) out += ' ';
            out += num(p.points[i].x) + "," + num(p.points[i].y);
        }
        out += "\"" + paint("fill", p.closed ? p.fill : Rgba{0, 0, 0, 0}) + paint("stroke", p.stroke) + " stroke-width=\"" +
               num(p.strokeWidth) + "\" stroke-linejoin=\"round\"";
        if (p.dashed) out += " stroke-dasharray=\"" + num(4 * p.strokeWidth) + "," + num(2 * p.strokeWidth) + "\"";
        if (p.clipped) out += " clip-path=\"url(#plot-area)\"";
        out += "/>\n";
    }
    void operator()(const SceneText& t) {
        const PlotFont& font = t.font == SceneText::Font::Title ? fonts.title : fonts.label;
        const char* anchor = t.align == SceneText::Align::Start ? "start" : t.align == SceneText::Align::Middle ? "middle" : "end";
        out += "<text x=\"" + num(t.at.x) + "\" y=\"" + num(t.at.y) + "\"" + fontAttributes(font) + " text-anchor=\"" + anchor +
               "\"" + paint("fill", t.colour);
        if (t.angle != 0) out += " transform=\"rotate(" + num(t.angle) + " " + num(t.at.x) + " " + num(t.at.y) + ")\"";
        out += ">" + escaped(t.text) + "</text>\n";
    }
};

}  // namespace

std::string plotSvg(const PlotScene& scene, const PlotFonts& fonts, const std::string& title) {
    Writer w{fonts, {}};
    w.out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
            num(scene.width) + "\" height=\"" + num(scene.height) + "\" viewBox=\"0 0 " + num(scene.width) + " " +
            num(scene.height) + "\">\n<title>" + escaped(title) + "</title>\n";
    const PlotRect& a = scene.plotArea;
    w.out += "<defs><clipPath id=\"plot-area\"><rect x=\"" + num(a.left) + "\" y=\"" + num(a.top) + "\" width=\"" +
             num(a.width) + "\" height=\"" + num(a.height) + "\"/></clipPath></defs>\n";
    for (const SceneItem& item : scene.items) std::visit(w, item);
    w.out += "</svg>\n";
    return w.out;
}

void writePlotSvgFile(const std::string& path, const PlotScene& scene, const PlotFonts& fonts, const std::string& title) {
    const std::string text = plotSvg(scene, fonts, title);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (out.fail()) {
        // A drawing cut short (a full disk) is not left to pass for a whole one.
        std::error_code ignored;
        std::filesystem::remove(filePath(path), ignored);
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace rillo::results
