// Every kind of page picture the canvas records must be readable by an EMF
// reader that nobody on this team wrote: emf2svg-conv converts it to SVG.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "emf/canvas.h"

namespace zor::emf {
namespace {

namespace fs = std::filesystem;

std::string convertToSvg(const std::vector<std::uint8_t>& picture, const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / "zor_emf2svg_test";
    fs::create_directories(dir);
    const fs::path emf = dir / (name + ".emf");
    const fs::path svg = dir / (name + ".svg");
    std::ofstream(emf, std::ios::binary)
        .write(reinterpret_cast<const char*>(picture.data()), std::streamsize(picture.size()));
    fs::remove(svg);
    const std::string command =
        "emf2svg-conv -i '" + emf.string() + "' -o '" + svg.string() + "' 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_EQ(status, 0) << command;
    std::ifstream in(svg);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Emf2Svg, AcceptsAPageWithEveryDrawingOperation) {
    Canvas c(Rect{0, 0, 21008, 29713}, ReferenceDevice::screen(96));
    c.setMapping({21000, 29700}, {794, 1123}, {0, 0});
    Font title;
    title.name = "Calibri";
    title.pixelsPerInch = 2539;
    title.setSize(28);
    title.bold = true;
    c.setFont(title);
    c.textRect({0, 0, 21000, 29700}, 13500, 1500, "TESTRAPPORT");
    c.setPen(Pen{rgb(192, 192, 192), 30, pen_style::Solid});
    Font body = title;
    body.setSize(12);
    body.bold = false;
    body.italic = true;
    body.underline = true;
    c.setFont(body);
    c.moveTo(8500, 4300);
    c.textOut(8500, 4300, "ZOR-afnameprogramma versie 1.0.2.1");
    c.setBackgroundMode(bk_mode::Transparent);
    c.setTextAlign(text_align::Center | text_align::Baseline);
    c.textOut(10500, 6000, "Geboortedatum één");
    c.setTextAlign(text_align::Top | text_align::Left);
    c.rectangle({800, 7000, 20200, 14000});
    c.setBrush(Brush{rgb(230, 230, 230), brush_style::Solid});
    c.fillRect({800, 14500, 20200, 15000});
    c.setPen(Pen{rgb(0, 0, 255), 10, pen_style::Dash});
    c.moveTo(800, 16000);
    c.lineTo(20200, 16000);
    c.polygon(std::vector<Point>{{1000, 17000}, {3000, 17000}, {2000, 19000}});
    c.polyline(std::vector<Point>{{4000, 17000}, {6000, 19000}, {8000, 17000}});
    c.ellipse({9000, 17000, 11000, 19000});
    c.saveState();
    c.setBrush(Brush{0, brush_style::Null});
    c.rectangle({12000, 17000, 14000, 19000});
    c.restoreState();
    Bitmap logo{4, 2, std::vector<std::uint8_t>(24, 128)};
    c.stretchDraw({1300, 1600, 7300, 5400}, logo);
    const std::string svg = convertToSvg(c.finish(), "all_operations");
    EXPECT_NE(svg.find("TESTRAPPORT"), std::string::npos);
    EXPECT_NE(svg.find("ZOR-afnameprogramma versie 1.0.2.1"), std::string::npos);
    EXPECT_NE(svg.find("Geboortedatum één"), std::string::npos);
    EXPECT_NE(svg.find("font-family=\"Calibri\""), std::string::npos);
    EXPECT_NE(svg.find("<image"), std::string::npos);
}

TEST(Emf2Svg, AcceptsAnEmptyPage) {
    Canvas c(Rect{0, 0, 21008, 29713}, ReferenceDevice::screen(96));
    c.setMapping({21000, 29700}, {794, 1123}, {0, 0});
    const std::string svg = convertToSvg(c.finish(), "empty");
    EXPECT_NE(svg.find("<svg"), std::string::npos);
}

}  // namespace
}  // namespace zor::emf
