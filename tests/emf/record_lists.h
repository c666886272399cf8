#pragma once
// Reads a page image into a list of typed records and picks records of one kind.
#include <cstdint>
#include <span>
#include <variant>
#include <vector>

#include "emf/reader.h"

namespace zor::emf::testing {

inline std::vector<Record> readAll(std::span<const std::uint8_t> data) {
    std::vector<Record> records;
    Reader reader(data);
    while (auto r = reader.next()) records.push_back(std::move(*r));
    return records;
}

template <typename T>
std::vector<T> only(const std::vector<Record>& records) {
    std::vector<T> out;
    for (const Record& r : records)
        if (auto* t = std::get_if<T>(&r)) out.push_back(*t);
    return out;
}

}  // namespace zor::emf::testing
