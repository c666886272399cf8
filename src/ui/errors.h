#pragma once

#include <stdexcept>
#include <string>

namespace zor::ui {

// A picture or sound file that cannot be loaded. The message names the file;
// the application shows it in a message box and abandons the current action.
class FileLoadError : public std::runtime_error {
  public:
    FileLoadError(std::string file, const std::string& message)
        : std::runtime_error(message), file_(std::move(file)) {}
    const std::string& file() const { return file_; }

  private:
    std::string file_;
};

}  // namespace zor::ui
