#pragma once

#include <string>

#include "administration/links.h"
#include "ui/controls.h"

namespace zor::administration {

// The speaker button of a prompt, idle and sounding.
inline constexpr const char* kSpeakerOff = "BtnSpkOff.gif";
inline constexpr const char* kSpeakerOn = "BtnSpkOn.gif";

// Gives an image button the named picture of the button-pictures folder;
// a picture it already shows is not loaded again (the test screens set their
// pictures at every 100 ms poll).
inline void SetButtonPicture(ui::Picture& button, const AdministrationLinks& links,
                             const std::string& name) {
    const std::filesystem::path file = links.buttonPicture(name);
    if (button.fileName() != file.string()) button.load(file);
}

// Gives a picture control the named picture of the pictures folder once.
inline void SetPicture(ui::Picture& picture, const AdministrationLinks& links,
                       const std::string& name) {
    const std::filesystem::path file = links.picture(name);
    if (picture.fileName() != file.string()) picture.load(file);
}

}  // namespace zor::administration
