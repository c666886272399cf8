#pragma once
// Draws pages like the report does, for tests and benchmarks of the page store.
#include <string>

#include "pagestore/print_preview.h"

namespace zor::pagestore::testing {

// Draws a report-like page onto the store's open page; `label` appears on it.
inline void drawSamplePage(TPrintPreview& store, const std::string& label) {
    emf::Canvas& c = *store.Canvas();
    const emf::Rect paper = store.PageBounds();
    emf::Font title = c.font();
    title.name = "Calibri";
    title.setSize(28);
    title.bold = true;
    c.setFont(title);
    c.textRect(paper, paper.right - 7500, 1500, "TESTRAPPORT");
    c.setPen(emf::Pen{emf::rgb(192, 192, 192), 30, emf::pen_style::Solid});
    emf::Font body = title;
    body.setSize(12);
    body.bold = false;
    c.setFont(body);
    c.setBackgroundMode(emf::bk_mode::Transparent);
    c.moveTo(paper.right - 12500, 4300);
    c.textOut(paper.right - 12500, 4300, "ZOR-afnameprogramma versie 1.0.2.1");
    c.textOut(1300, 5900, label);
    c.rectangle({800, 7000, paper.right - 800, 14000});
    c.rectangle({800, 14500, paper.right - 800, 21500});
    emf::Bitmap logo{6, 4, std::vector<std::uint8_t>(6 * 4 * 3, 90)};
    store.PaintGraphic({1300, 1600, 7300, 5400}, logo, false, true, false);
}

}  // namespace zor::pagestore::testing
