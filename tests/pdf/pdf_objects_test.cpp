#include "pdf/pdf_objects.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <sstream>
#include <thread>
#include <vector>

#include "pdf/pdf_output.h"

namespace zor::pdf {
namespace {

std::string written(PdfObject& object) {
    std::ostringstream stream;
    PdfOutput out(stream);
    object.writeValue(out);
    out.flush();
    return stream.str();
}

TEST(NumberForms, RealsKeepTwoDecimalsWithoutTrailingZeros) {
    EXPECT_EQ(formatReal(12.5), "12.5");
    EXPECT_EQ(formatReal(12), "12");
    EXPECT_EQ(formatReal(12.34), "12.34");
    EXPECT_EQ(formatReal(12.344), "12.34");
    EXPECT_EQ(formatReal(0.1), "0.1");
    EXPECT_EQ(formatReal(-3.5), "-3.5");
    EXPECT_EQ(formatReal(-0.001), "0");
    EXPECT_EQ(formatReal(595), "595");

    PdfReal half(12.5), whole(12);
    EXPECT_EQ(written(half), "12.5");
    EXPECT_EQ(written(whole), "12");
}

TEST(NumberForms, ContentNumbersEndInABlankAndTinyValuesAreZero) {
    EXPECT_EQ(contentNumber(0.005), "0 ");
    EXPECT_EQ(contentNumber(-0.0099), "0 ");
    EXPECT_EQ(contentNumber(0.01), "0.01 ");
    EXPECT_EQ(contentNumber(12.5), "12.5 ");
    EXPECT_EQ(contentNumber(12), "12 ");
    EXPECT_EQ(contentNumber(12.34), "12.34 ");
    EXPECT_EQ(contentNumber(-841.5), "-841.5 ");
}

TEST(StringForms, LiteralStringsEscapeDelimitersAndDropCarriageReturns) {
    EXPECT_EQ(literalString("a(b\rc)"), "(a\\(bc\\))");
    EXPECT_EQ(literalString("back\\slash"), "(back\\\\slash)");
    EXPECT_EQ(literalString("\b\t\n\f"), "(\\b\\t\\n\\f)");
    EXPECT_EQ(literalString("\xEB"), "(\xEB)");  // 8-bit text stays as it is
    PdfText text("Rapport (2)\r\n");
    EXPECT_EQ(written(text), "(Rapport \\(2\\)\\n)");
}

TEST(NameForms, CharactersOutsideThePrintableRangeAndDelimitersAreHexEscaped) {
    EXPECT_EQ(nameForm("FlateDecode"), "/FlateDecode");
    EXPECT_EQ(nameForm("Times New Roman,Bold"), "/Times#20New#20Roman,Bold");
    EXPECT_EQ(nameForm("a#b/c(d)"), "/a#23b#2Fc#28d#29");
    EXPECT_EQ(nameForm("\xE9t\xE9"), "/#E9t#E9");
}

TEST(Containers, DictionariesKeepInsertionOrderAndMoveAResetKeyToTheEnd) {
    PdfDictionary d;
    d.set("Type", makeName("Page"));
    d.set("Count", makeNumber(1));
    d.set("Kids",
          std::make_shared<PdfArray>(std::vector<PdfObjectPtr>{makeNumber(1), makeReal(2.5)}));
    d.set("Type", makeName("Pages"));
    EXPECT_EQ(written(d), "<<\n/Count 1\n/Kids [1 2.5 ]\n/Type /Pages\n>>");
    EXPECT_EQ(d.getAs<PdfName>("Type")->name(), "Pages");
    d.remove("Kids");
    EXPECT_FALSE(d.contains("Kids"));
}

TEST(Containers, IndirectObjectsAreHeldAsReferences) {
    PdfObjectTable table;
    auto target = table.add(std::make_shared<PdfDictionary>());
    auto second = table.add(std::make_shared<PdfDictionary>());
    PdfDictionary holder;
    holder.set("Parent", second);
    PdfArray kids(std::vector<PdfObjectPtr>{target, second});
    EXPECT_EQ(written(holder), "<<\n/Parent 2 0 R\n>>");
    EXPECT_EQ(written(kids), "[1 0 R 2 0 R ]");
    EXPECT_EQ(holder.get("Parent"), second);  // resolved to the object itself
}

TEST(Streams, ShortStreamsStayPlainAndLongOnesAreDeflated) {
    PdfStream shortStream(true);
    shortStream.data() = std::string(99, 'x');
    EXPECT_EQ(written(shortStream),
              "<<\n/Length 99\n>>\nstream\n" + std::string(99, 'x') + "\nendstream");

    PdfStream longStream(true);
    longStream.data() = std::string(100, 'x');
    std::string compressed = deflate(std::string(100, 'x'), 7);
    EXPECT_EQ(written(longStream), "<<\n/Length " + std::to_string(compressed.size()) +
                                       "\n/Filter [/FlateDecode ]\n>>\nstream\n" + compressed +
                                       "\nendstream");

    PdfStream uncompressed(false);
    uncompressed.data() = std::string(200, 'y');
    EXPECT_EQ(written(uncompressed),
              "<<\n/Length 200\n>>\nstream\n" + std::string(200, 'y') + "\nendstream");
}

// The data of a stream as written: what follows "stream\n", inflated.
std::string inflatedData(const std::string& writtenStream, std::size_t plainSize) {
    const std::size_t start = writtenStream.find("stream\n") + 7;
    const std::size_t end = writtenStream.rfind("\nendstream");
    std::string plain(plainSize + 1, '\0');
    uLongf size = plain.size();
    if (uncompress(reinterpret_cast<Bytef*>(plain.data()), &size,
                   reinterpret_cast<const Bytef*>(writtenStream.data() + start),
                   end - start) != Z_OK) {
        return "not a deflated stream";
    }
    plain.resize(size);
    return plain;
}

TEST(Streams, RememberedCompressedFormsNeverHandOneDataAnothersBytes) {
    // Pictures of equal size that differ in one byte, written by several threads at once: each
    // stream must inflate to its own data, and a remembered form must be the same bytes as a
    // fresh compression of those data.
    std::vector<std::string> pictures;
    for (int i = 0; i < 6; ++i) {
        std::string data(20000, char(i % 2 ? 0x40 : 0x80));
        data[9999] = char('a' + i);
        pictures.push_back(data);
    }
    std::vector<std::string> failures(4);
    {
        std::vector<std::jthread> threads;
        for (std::size_t t = 0; t < failures.size(); ++t) {
            threads.emplace_back([&, t] {
                for (int round = 0; round < 30; ++round) {
                    const std::string& data = pictures[(t + std::size_t(round)) % pictures.size()];
                    PdfStream stream(true);
                    stream.setRememberCompressedForm(true);
                    stream.data() = data;
                    if (inflatedData(written(stream), data.size()) != data) {
                        failures[t] = "round " + std::to_string(round);
                    }
                }
            });
        }
    }
    for (const std::string& failure : failures) EXPECT_EQ(failure, "");
    for (const std::string& data : pictures) {
        PdfStream remembered(true), fresh(true);
        remembered.setRememberCompressedForm(true);
        remembered.data() = data;
        fresh.data() = data;
        EXPECT_EQ(written(remembered), written(fresh));
    }
}

TEST(Output, KeepsItsPositionAcrossBufferedAndWrittenThroughPieces) {
    std::ostringstream stream;
    PdfOutput out(stream);
    out << std::string(500, 'a');
    EXPECT_EQ(out.position(), 500);
    EXPECT_TRUE(stream.str().empty());  // still buffered
    out << std::string(20, 'b');        // does not fit: flushed and written through
    EXPECT_EQ(stream.str(), std::string(500, 'a') + std::string(20, 'b'));
    out << std::string(2000, 'c');
    out << "d";
    EXPECT_EQ(out.position(), 2521);
    out.flush();
    EXPECT_EQ(stream.str().size(), 2521u);
    EXPECT_EQ(stream.str().back(), 'd');
}

TEST(Output, AFailingDestinationRaisesAnError) {
    std::ostringstream stream;
    stream.setstate(std::ios::badbit);
    PdfOutput out(stream);
    EXPECT_THROW(out << std::string(600, 'x'), std::runtime_error);
}

}  // namespace
}  // namespace zor::pdf
