#pragma once

#include <string>

namespace zor::correction {

// What the correction screen needs of the stored-report viewer that opens it.
// The viewer implements this and hands itself to Tcorrect::setViewer.
class CorrectionViewer {
  public:
    virtual ~CorrectionViewer() = default;

    // The key of the administration behind the report shown, taken from the
    // report's file name (for example "K123_05-03-2011").
    virtual std::string ReportKey() const = 0;
    // A correction was confirmed: clear the pending welcome page and run the
    // activation at once, which composes the corrected report from the
    // correction screen's record, stores the report and its PDF, calls
    // Tcorrect::Opslaan1Click and finally clears Tcorrect::CorrectionConfirmed.
    virtual void ComposeCorrectedReport() = 0;
    // The correction screen closed (or could not open): the viewer's
    // correction button goes back to its resting picture "BtnWZNoff.gif".
    virtual void CorrectionClosed() = 0;
};

}  // namespace zor::correction
