#include "plugin/palette/SymbolCodes.h"

#include "plugin/frame/TextStyles.h"

namespace {

using K = SymbolKind;

constexpr std::array<SymbolButton, 53> kButtons = {{
    // First symbol row.
    {8031, K::Mode, "%%O", "%%o"},
    {8032, K::Mode, "%%U", "%%u"},
    {8042, K::Dual, "%%95", "%%p"},
    {8039, K::Dual, "%%127", "%%d"},
    {8033, K::Dual, "%%36", "%%c"},
    {8029, K::Mode, "%%172", "%%173"},
    {8030, K::Mode, "%%174", "%%175"},
    {8012, K::OwnFont, "%%142", nullptr},
    {8025, K::OwnFont, "%%130", nullptr},
    {8026, K::OwnFont, "%%143", nullptr},
    {8027, K::OwnFont, "%%133", nullptr},
    {8028, K::OwnFont, "%%134", nullptr},
    {8034, K::OwnFont, "%%139", nullptr},
    {8035, K::OwnFont, "%%138", nullptr},
    {8036, K::OwnFont, "%%136", nullptr},
    {8037, K::OwnFont, "%%137", nullptr},
    {8045, K::OwnFont, "#", nullptr},
    {8040, K::OwnFont, "%%189", nullptr},
    {8068, K::OwnFont, "%%148", nullptr},
    {8071, K::OwnFont, "%%149", nullptr},
    {8073, K::OwnFont, "%%144", nullptr},
    {8080, K::OwnFont, "%%178", nullptr},
    {8087, K::OwnFont, "%%181", nullptr},
    {8091, K::Greek, "%%135", nullptr},
    // Second symbol row: Greek letters.
    {8047, K::Greek, "%%147", nullptr},
    {8049, K::Greek, "%%165", nullptr},
    {8050, K::Greek, "%%129", nullptr},
    {8051, K::Greek, "%%176", nullptr},
    {8052, K::Greek, "%%177", nullptr},
    {8061, K::Greek, "%%164", nullptr},
    {8062, K::Greek, "%%180", nullptr},
    {8063, K::Greek, "%%182", nullptr},
    {8064, K::Greek, "%%187", nullptr},
    {8065, K::Greek, "%%128", nullptr},
    {8066, K::Greek, "%%188", nullptr},
    {8067, K::Greek, "%%150", nullptr},
    {8069, K::Greek, "%%162", nullptr},
    {8070, K::Greek, "%%131", nullptr},
    {8072, K::Greek, "%%145", nullptr},
    {8074, K::Greek, "%%167", nullptr},
    {8075, K::Greek, "%%170", nullptr},
    {8076, K::Greek, "%%168", nullptr},
    {8077, K::Greek, "%%140", nullptr},
    {8078, K::Greek, "%%163", nullptr},
    {8079, K::Greek, "%%141", nullptr},
    {8081, K::Greek, "%%184", nullptr},
    {8082, K::Greek, "%%166", nullptr},
    {8083, K::Greek, "%%186", nullptr},
    {8084, K::Greek, "%%183", nullptr},
    {8086, K::Greek, "%%185", nullptr},
    {8088, K::Greek, "%%146", nullptr},
    {8089, K::Greek, "%%179", nullptr},
    {8090, K::Greek, "%%169", nullptr},
}};

}  // namespace

const std::array<SymbolButton, 53>& symbolButtons() { return kButtons; }

const SymbolButton* findSymbolButton(int id) {
    for (const SymbolButton& b : kButtons)
        if (b.id == id) return &b;
    return nullptr;
}

int modeStateIndex(int id) { return id >= 8029 && id <= 8032 ? id - 8029 : -1; }

std::string symbolCodeFor(const SymbolButton& button, bool modeWasOn, const std::string& keptStyleName,
                          const std::string& styleBoxText) {
    switch (button.kind) {
        case SymbolKind::Mode: return modeWasOn ? button.otherCode : button.code;
        case SymbolKind::Dual: return keptStyleName == kSymbolStyleName ? button.code : button.otherCode;
        case SymbolKind::OwnFont: return styleBoxText == kSymbolStyleName ? button.code : std::string();
        case SymbolKind::Greek: return button.code;
    }
    return {};
}

std::string symbolClickCode(int id, const int (&modeStates)[4], const std::string& keptStyleName,
                            const std::string& styleBoxText) {
    const SymbolButton* button = findSymbolButton(id);
    if (button == nullptr) return {};
    const bool modeWasOn = button->kind == SymbolKind::Mode && modeStates[modeStateIndex(id)] != 0;
    return symbolCodeFor(*button, modeWasOn, keptStyleName, styleBoxText);
}
