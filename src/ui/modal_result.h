#pragma once

namespace zor::ui {

// The result with which a modal showing or a message box ends.
enum class ModalResult { None, OK, Cancel, Abort, Yes, No };

}  // namespace zor::ui
