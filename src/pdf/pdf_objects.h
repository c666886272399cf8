#pragma once

// The object graph of a PDF document and the written form of each kind of object.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pdf/pdf_deflate.h"
#include "pdf/pdf_output.h"

namespace zor::pdf {

// An object is direct (written where it stands) or indirect (listed in the cross-reference
// table and written once as the body of "n 0 obj"). An indirect object put into an array or a
// dictionary is held there as a reference object, written "n 0 R"; the object table owns it.
class PdfObject {
  public:
    virtual ~PdfObject() = default;

    int objectNumber() const { return objectNumber_; }
    bool isIndirect() const { return objectNumber_ > 0; }
    void setObjectNumber(int number) { objectNumber_ = number; }

    virtual void writeValue(PdfOutput& out) = 0;

  private:
    int objectNumber_ = 0;
};

using PdfObjectPtr = std::shared_ptr<PdfObject>;

// Stands in a container for an indirect object.
class PdfReference : public PdfObject {
  public:
    explicit PdfReference(const PdfObjectPtr& target)
        : target_(target), targetNumber_(target->objectNumber()) {}
    PdfObjectPtr target() const { return target_.lock(); }
    void writeValue(PdfOutput& out) override;

  private:
    std::weak_ptr<PdfObject> target_;
    int targetNumber_;
};

class PdfNumber : public PdfObject {
  public:
    explicit PdfNumber(std::int32_t value) : value_(value) {}
    std::int32_t value() const { return value_; }
    void setValue(std::int32_t value) { value_ = value; }
    void writeValue(PdfOutput& out) override;

  private:
    std::int32_t value_;
};

class PdfReal : public PdfObject {
  public:
    explicit PdfReal(double value) : value_(value) {}
    double value() const { return value_; }
    void writeValue(PdfOutput& out) override;

  private:
    double value_;
};

// A literal string of 8-bit text.
class PdfText : public PdfObject {
  public:
    explicit PdfText(std::string bytes) : bytes_(std::move(bytes)) {}
    const std::string& bytes() const { return bytes_; }
    void writeValue(PdfOutput& out) override;

  private:
    std::string bytes_;
};

// Text written exactly as it stands (prepared arrays and dictionaries).
class PdfRawText : public PdfObject {
  public:
    explicit PdfRawText(std::string text) : text_(std::move(text)) {}
    void writeValue(PdfOutput& out) override;

  private:
    std::string text_;
};

class PdfName : public PdfObject {
  public:
    explicit PdfName(std::string name) : name_(std::move(name)) {}
    const std::string& name() const { return name_; }
    void writeValue(PdfOutput& out) override;

  private:
    std::string name_;
};

class PdfArray : public PdfObject {
  public:
    PdfArray() = default;
    explicit PdfArray(const std::vector<PdfObjectPtr>& items) {
        for (const auto& item : items) add(item);
    }

    void add(const PdfObjectPtr& item);
    // The elements as held: indirect objects appear as PdfReference.
    const std::vector<PdfObjectPtr>& items() const { return items_; }
    std::size_t size() const { return items_.size(); }
    // Removes every name element with this name.
    void removeName(std::string_view name);
    bool containsName(std::string_view name) const;
    void writeValue(PdfOutput& out) override;

  private:
    std::vector<PdfObjectPtr> items_;
};

class PdfDictionary : public PdfObject {
  public:
    // Sets an entry; an existing entry of the same key is removed and the new one appended.
    void set(std::string key, const PdfObjectPtr& value);
    // The value of an entry, an indirect object resolved; nullptr when absent.
    PdfObjectPtr get(std::string_view key) const;
    template <class T>
    std::shared_ptr<T> getAs(std::string_view key) const {
        return std::dynamic_pointer_cast<T>(get(key));
    }
    bool contains(std::string_view key) const { return get(key) != nullptr; }
    void remove(std::string_view key);
    std::size_t size() const { return entries_.size(); }

    // The written form without the surrounding object header.
    void writeValue(PdfOutput& out) override;

  private:
    struct Entry {
        std::string key;
        PdfObjectPtr value;
    };
    std::vector<Entry> entries_;
};

// A stream: its dictionary and its data. /Length and /Filter are completed when written.
class PdfStream : public PdfObject {
  public:
    // With compress, the stream carries /Filter [/FlateDecode ] and is deflated when written
    // if its data are 100 bytes or more.
    explicit PdfStream(bool compress);

    PdfDictionary& dictionary() { return *dictionary_; }
    const PdfDictionary& dictionary() const { return *dictionary_; }
    std::string& data() { return data_; }
    const std::string& data() const { return data_; }
    void writeValue(PdfOutput& out) override;

    // Data that recur unchanged across documents (pictures) are compressed once per process:
    // the deflated form is remembered by content and handed to every later stream with the same
    // data.
    void setRememberCompressedForm(bool on) { rememberCompressedForm_ = on; }

    static constexpr std::size_t kCompressionThreshold = 100;
    static constexpr int kCompressionLevel = 7;

  private:
    std::shared_ptr<PdfDictionary> dictionary_;
    std::string data_;
    bool rememberCompressedForm_ = false;
};

// Shorthands for building objects.
inline std::shared_ptr<PdfName> makeName(std::string n) {
    return std::make_shared<PdfName>(std::move(n));
}
inline std::shared_ptr<PdfNumber> makeNumber(std::int32_t v) {
    return std::make_shared<PdfNumber>(v);
}
inline std::shared_ptr<PdfReal> makeReal(double v) { return std::make_shared<PdfReal>(v); }
inline std::shared_ptr<PdfText> makeText(std::string bytes) {
    return std::make_shared<PdfText>(std::move(bytes));
}
inline std::shared_ptr<PdfRawText> makeRaw(std::string t) {
    return std::make_shared<PdfRawText>(std::move(t));
}

// The literal-string form of 8-bit text, parentheses included.
std::string literalString(std::string_view bytes);
// The name form, "/" included; characters outside "!".."~" and the delimiters become "#XX".
std::string nameForm(std::string_view name);

}  // namespace zor::pdf

namespace zor::pdf {

// The indirect objects of a document in number order; object 0 is the free head of the
// cross-reference table and is not held here.
class PdfObjectTable {
  public:
    // Gives the object the next number and lists it.
    template <class T>
    std::shared_ptr<T> add(std::shared_ptr<T> object) {
        objects_.push_back(object);
        object->setObjectNumber(int(objects_.size()));
        return object;
    }
    const std::vector<PdfObjectPtr>& objects() const { return objects_; }
    void clear() { objects_.clear(); }

  private:
    std::vector<PdfObjectPtr> objects_;
};

}  // namespace zor::pdf
