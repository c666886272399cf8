#pragma once
// Where zor-tool finds the program's pictures, and today's date.
#include <filesystem>

#include "record/calendar.h"

namespace zor::tool {

// The Graphics folder beside the zor-tool executable (the program folder).
std::filesystem::path GraphicsFolder();

// Today's date on the local calendar.
record::Date TodayDate();

}  // namespace zor::tool
