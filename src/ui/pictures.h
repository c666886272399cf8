#pragma once

#include <string>

namespace zor::ui {

// Where picture controls find their files. The Qt front end decodes the
// pictures; the runtime only needs to know whether a file can be loaded.
class PictureSource {
  public:
    virtual ~PictureSource() = default;
    // Whether the picture at the Linux path can be loaded.
    virtual bool canLoad(const std::string& nativePath) const = 0;
};

// Accepts every picture file that exists on disk.
class FilePictureSource : public PictureSource {
  public:
    bool canLoad(const std::string& nativePath) const override;
};

}  // namespace zor::ui
