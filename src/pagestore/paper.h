#pragma once
// The paper types the page store knows, with the printer driver's paper number
// and the standard portrait size of each.
#include <array>
#include <optional>

#include "pagestore/units.h"

namespace zor::pagestore {

enum TPaperType {
    pLetter,
    pLetterSmall,
    pTabloid,
    pLedger,
    pLegal,
    pStatement,
    pExecutive,
    pA3,
    pA4,
    pA4Small,
    pA5,
    pB4,
    pB5,
    pFolio,
    pQuatro,
    p10x14,
    p11x17,
    pNote,
    pEnv9,
    pEnv10,
    pEnv11,
    pEnv12,
    pEnv14,
    pCSheet,
    pDSheet,
    pESheet,
    pEnvDL,
    pEnvC5,
    pEnvC3,
    pEnvC4,
    pEnvC6,
    pEnvC65,
    pEnvB4,
    pEnvB5,
    pEnvB6,
    pEnvItaly,
    pEnvMonarch,
    pEnvPersonal,
    pFanfoldUSStd,
    pFanfoldGermanStd,
    pFanfoldGermanLegal,
    pB4ISO,
    pJapanesePostcard,
    p9x11,
    p10x11,
    p15x11,
    pEnvInvite,
    pLetterExtra,
    pLegalExtra,
    TabloidExtra,
    pA4Extra,
    pLetterTransverse,
    pA4Transverse,
    pLetterExtraTransverse,
    pAPlus,
    pBPlus,
    pLetterPlus,
    pA4Plus,
    pA5Transverse,
    pB5Transverse,
    pA3Extra,
    pA5Extra,
    pB5Extra,
    pA2,
    pA3Transverse,
    pA3ExtraTransverse,
    pCustom,
};
constexpr int PaperTypeCount = pCustom + 1;

struct PaperSize {
    int paperNumber;  // the printer driver's paper number; 256 = user-defined
    int width;        // portrait, in unit
    int height;
    TUnits unit;  // mmLoMetric or mmHiEnglish; meaningless for pCustom
};

const std::array<PaperSize, PaperTypeCount>& paperTable();
inline const PaperSize& paperSize(TPaperType type) { return paperTable()[type]; }

// The first paper type (in table order, pCustom excluded) whose size equals the
// portrait pair (width, height) in `units` once converted into the row's unit;
// pCustom when none does.
TPaperType matchPaperType(int width, int height, TUnits units, int screenDotsPerInch);

// The first paper type with the given driver paper number.
std::optional<TPaperType> paperTypeForNumber(int paperNumber);

}  // namespace zor::pagestore
