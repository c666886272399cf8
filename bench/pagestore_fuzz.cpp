// Fuzz target: the report file loader with page fetching and rewriting, and the
// EMF reader with bitmap decoding, on arbitrary bytes.
#include <cstdint>
#include <sstream>
#include <string>

#include "emf/reader.h"
#include "pagestore/errors.h"
#include "pagestore/print_preview.h"

using namespace zor;

namespace {

void readPicture(std::span<const std::uint8_t> data) {
    try {
        emf::Reader reader(data);
        while (auto record = reader.next()) {
            if (auto* s = std::get_if<emf::StretchDIBits>(&*record); s && s->bitmap)
                (void)emf::decodeDib(*s->bitmap);
            if (auto* b = std::get_if<emf::BitBlt>(&*record); b && b->bitmap)
                (void)emf::decodeDib(*b->bitmap);
        }
    } catch (const emf::FormatError&) {
    }
}

const std::vector<std::uint8_t>& emptyPage() {
    static const std::vector<std::uint8_t> page = [] {
        pagestore::TPrintPreview store;
        store.BeginDoc();
        store.Canvas()->rectangle({10, 10, 100, 100});
        store.EndDoc();
        return *store.GetPage(1);
    }();
    return page;
}

void loadReport(const std::uint8_t* data, std::size_t size) {
    pagestore::TPrintPreview store;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    try {
        store.LoadFromStream(in);
    } catch (const pagestore::EInvalidPreviewData&) {
        return;
    }
    const int pages = std::min(store.TotalPages(), 64);
    for (int p = 1; p <= pages; ++p) {
        try {
            if (auto* page = store.GetPage(p)) readPicture(*page);
        } catch (const pagestore::EInvalidPreviewData&) {
        }
    }
    if (store.TotalPages() > 0) {
        try {
            store.UpdatePage(1, emptyPage());
            store.GetPage(store.TotalPages());
        } catch (const pagestore::EInvalidPreviewData&) {
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    readPicture({data, size});
    loadReport(data, size);
    return 0;
}
