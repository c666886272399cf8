#include "pdf/pdf_objects.h"

#include <algorithm>
#include <stdexcept>

namespace zor::pdf {

namespace {

// What a container holds for a value: a reference for an indirect object, else the value.
PdfObjectPtr held(const PdfObjectPtr& value) {
    if (value && value->isIndirect()) return std::make_shared<PdfReference>(value);
    return value;
}

}  // namespace

void PdfReference::writeValue(PdfOutput& out) { out << std::to_string(targetNumber_) << " 0 R"; }

void PdfNumber::writeValue(PdfOutput& out) { out << std::to_string(value_); }

void PdfReal::writeValue(PdfOutput& out) { out << formatReal(value_); }

void PdfText::writeValue(PdfOutput& out) { out << literalString(bytes_); }

void PdfRawText::writeValue(PdfOutput& out) { out << text_; }

void PdfName::writeValue(PdfOutput& out) { out << nameForm(name_); }

void PdfArray::add(const PdfObjectPtr& item) { items_.push_back(held(item)); }

void PdfArray::removeName(std::string_view name) {
    std::erase_if(items_, [&](const PdfObjectPtr& item) {
        auto n = std::dynamic_pointer_cast<PdfName>(item);
        return n && n->name() == name;
    });
}

bool PdfArray::containsName(std::string_view name) const {
    return std::any_of(items_.begin(), items_.end(), [&](const PdfObjectPtr& item) {
        auto n = std::dynamic_pointer_cast<PdfName>(item);
        return n && n->name() == name;
    });
}

void PdfArray::writeValue(PdfOutput& out) {
    out << "[";
    for (auto& item : items_) {
        item->writeValue(out);
        out << " ";
    }
    out << "]";
}

void PdfDictionary::set(std::string key, const PdfObjectPtr& value) {
    remove(key);
    entries_.push_back({std::move(key), held(value)});
}

PdfObjectPtr PdfDictionary::get(std::string_view key) const {
    for (const auto& e : entries_) {
        if (e.key != key) continue;
        if (auto ref = std::dynamic_pointer_cast<PdfReference>(e.value)) return ref->target();
        return e.value;
    }
    return nullptr;
}

void PdfDictionary::remove(std::string_view key) {
    std::erase_if(entries_, [&](const Entry& e) { return e.key == key; });
}

void PdfDictionary::writeValue(PdfOutput& out) {
    out << "<<\n";
    for (auto& e : entries_) {
        out << nameForm(e.key) << " ";
        e.value->writeValue(out);
        out << "\n";
    }
    out << ">>";
}

PdfStream::PdfStream(bool compress) : dictionary_(std::make_shared<PdfDictionary>()) {
    dictionary_->set("Length", makeNumber(0));
    auto filter = std::make_shared<PdfArray>();
    if (compress) filter->add(makeName("FlateDecode"));
    dictionary_->set("Filter", filter);
}

void PdfStream::writeValue(PdfOutput& out) {
    auto filter = dictionary_->getAs<PdfArray>("Filter");
    const std::string* bytes = &data_;
    std::shared_ptr<const std::string> deflated;
    if (filter && filter->containsName("FlateDecode")) {
        if (data_.size() >= kCompressionThreshold) {
            deflated = rememberCompressedForm_
                           ? deflateRemembered(data_, kCompressionLevel)
                           : std::make_shared<const std::string>(deflate(data_, kCompressionLevel));
            bytes = deflated.get();
        } else {
            filter->removeName("FlateDecode");
        }
    }
    if (filter && filter->size() == 0) dictionary_->remove("Filter");

    if (auto length = dictionary_->getAs<PdfNumber>("Length")) {
        length->setValue(std::int32_t(bytes->size()));
    } else {
        dictionary_->set("Length", makeNumber(std::int32_t(bytes->size())));
    }
    dictionary_->writeValue(out);
    out << "\nstream\n";
    out << *bytes;
    out << "\nendstream";
}

std::string literalString(std::string_view bytes) {
    std::string s = "(";
    s.reserve(bytes.size() + 2);
    for (char c : bytes) {
        switch (c) {
            case '\b':
                s += "\\b";
                break;
            case '\t':
                s += "\\t";
                break;
            case '\n':
                s += "\\n";
                break;
            case '\f':
                s += "\\f";
                break;
            case '\r':
                break;
            case '(':
            case ')':
            case '\\':
                s += '\\';
                s += c;
                break;
            default:
                s += c;
        }
    }
    s += ')';
    return s;
}

std::string nameForm(std::string_view name) {
    static constexpr std::string_view kDelimiters = "()<>[]{}/%#";
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string s = "/";
    for (char c : name) {
        auto u = static_cast<unsigned char>(c);
        if (u < 33 || u > 126 || kDelimiters.find(c) != std::string_view::npos) {
            s += '#';
            s += kHex[u >> 4];
            s += kHex[u & 15];
        } else {
            s += c;
        }
    }
    return s;
}

}  // namespace zor::pdf
