// A small dialog that carries the palette's keyboard helpers the way the
// palette does (filtered fields, symbol buttons, Roman numerals, layout and
// case conversion, indicators), so they are tested through real clicks and
// keystrokes of a session script without the rest of the palette.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "host/api/HostRuntime.h"
#include "host/api/HostSession.h"
#include "host/ui/HostWindow.h"
#include "platform/keyboard/Keyboard.h"
#include "platform/session/ActionParser.h"
#include "platform/session/Session.h"
#include "platform/session/Transcript.h"
#include "platform/ui/Framework.h"
#include "platform/ui/SessionBinding.h"
#include "plugin/palette/FilterEdit.h"
#include "plugin/palette/KeyboardIndicators.h"
#include "plugin/palette/LayoutConverter.h"
#include "plugin/palette/RomanNumerals.h"
#include "plugin/palette/SymbolCodes.h"
#include "plugin/palette/SymbolFont.h"
#include "plugin/palette/TextProperties.h"

namespace kestrin::test::helpers {

inline constexpr int kHelperDialog = 7300;
inline constexpr int kText = 8019, kStyle = 8002, kOffsetX = 8015, kRoman = 8038, kRomanOut = 8041;
inline constexpr int kCase = 8046, kLayout = 8048;

inline ui::ResourceTable helperTable() {
    ui::ResourceTable t;
    ui::DialogTemplate d;
    d.id = kHelperDialog;
    d.caption = "Helpers";
    d.width = 310;
    d.height = 84;
    d.fontSize = 9;
    d.controls.push_back(ui::editText(kText, {7, 54, 294, 15}, ES_MULTILINE | ES_AUTOHSCROLL | WS_TABSTOP));
    d.controls.push_back(ui::comboBox(kStyle, {7, 14, 55, 88}));
    d.controls.push_back(ui::editText(kOffsetX, {187, 14, 19, 12}, WS_TABSTOP));
    d.controls.push_back(ui::editText(kRoman, {269, 29, 18, 12}, WS_TABSTOP));
    d.controls.push_back(ui::pushButton(kRomanOut, ">>", {288, 29, 13, 11}));
    d.controls.push_back(ui::bitmapButton(kCase, {129, 0, 15, 13}));
    d.controls.push_back(ui::bitmapButton(kLayout, {146, 0, 15, 13}));
    int x = 7;
    for (const SymbolButton& b : symbolButtons()) {
        const ui::DialogRect r{x, 29, 9, 11};
        x += 5;
        if (b.kind == SymbolKind::Mode) d.controls.push_back(ui::autoCheckBox(b.id, "", r, BS_PUSHLIKE | BS_BITMAP));
        else d.controls.push_back(ui::pushButton(b.id, "m", r));
    }
    d.controls.push_back(ui::leftText(8053, "", {226, 68, 23, 9}, SS_SUNKEN));
    d.controls.push_back(ui::leftText(8057, "", {252, 68, 23, 9}, SS_SUNKEN));
    d.controls.push_back(ui::leftText(8056, "", {278, 68, 23, 9}, SS_SUNKEN | SS_NOTIFY));
    t.dialogs.push_back(std::move(d));
    return t;
}

class HelperDialog : public CDialog {
public:
    HelperDialog() : CDialog(kHelperDialog, CWnd::FromHandle(adsw_acadMainWnd())) {}

    CFilterEdit m_edtText, m_edtOffsetX, m_edtRoman;
    std::string m_strText, m_strStyle, m_strOffsetX, m_strRoman;
    int m_modeStates[4] = {0, 0, 0, 0};
    CFont m_symbolFont;
    bool symbolFontApplied = false;

    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, kText, m_edtText);
        DDX_Control(pDX, kOffsetX, m_edtOffsetX);
        DDX_Control(pDX, kRoman, m_edtRoman);
        DDX_Text(pDX, kText, m_strText);
        DDX_CBString(pDX, kStyle, m_strStyle);
        DDX_Text(pDX, kOffsetX, m_strOffsetX);
        for (int i = 0; i < 4; ++i) DDX_Check(pDX, 8029 + i, m_modeStates[i]);
        DDX_Text(pDX, kRoman, m_strRoman);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        updateKeyboardIndicators(*this);
        GetDlgItem(kRomanOut)->EnableWindow(FALSE);
        m_edtOffsetX.setCharacterList("1 2 3 4 5 6 7 8 9 0 - ", 1);
        m_edtRoman.setCharacterList("1 2 3 4 5 6 7 8 9 0 ", 1);
        m_edtText.setCharacterList("", 1);
        symbolFontApplied = applySymbolFont(*this, m_symbolFont);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override {
        updateKeyboardIndicators(*this);
        return CDialog::PreTranslateMessage(pMsg);
    }

protected:
    void OnTextChanged() { UpdateData(TRUE); }
    void OnSymbol(UINT id) { clickSymbolButton(*this, static_cast<int>(id), m_modeStates, m_strStyle, m_edtText); }
    void OnRomanChanged() { onRomanInputChanged(*this, m_strRoman); }
    void OnRomanOut() { outputRomanNumeral(*this, m_strRoman, m_edtText); }
    void OnCase() { convertSelectedText(*this, m_edtText, m_strText, SelectionConversion::Case); }
    void OnLayout() { convertSelectedText(*this, m_edtText, m_strText, SelectionConversion::Layout); }
    void OnLanguage() { switchKeyboardLayout(*this, kText); }
    // The message table, defined in the class so the header can be shared.
    static const AFX_MSGMAP* GetThisMessageMap() {
        using ThisClass [[maybe_unused]] = HelperDialog;
        using TheBaseClass = CDialog;
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
        ON_EN_CHANGE(kText, OnTextChanged)
        ON_EN_CHANGE(kRoman, OnRomanChanged)
        ON_BN_CLICKED(kRomanOut, OnRomanOut)
        ON_BN_CLICKED(kCase, OnCase)
        ON_BN_CLICKED(kLayout, OnLayout)
        ON_STN_CLICKED(8056, OnLanguage)
        ON_CONTROL_RANGE(BN_CLICKED, kSymbolButtonRanges[0].first, kSymbolButtonRanges[0].last, OnSymbol)
        ON_CONTROL_RANGE(BN_CLICKED, kSymbolButtonRanges[1].first, kSymbolButtonRanges[1].last, OnSymbol)
        ON_CONTROL_RANGE(BN_CLICKED, kSymbolButtonRanges[2].first, kSymbolButtonRanges[2].last, OnSymbol)
        ON_CONTROL_RANGE(BN_CLICKED, kSymbolButtonRanges[3].first, kSymbolButtonRanges[3].last, OnSymbol)
        ON_CONTROL_RANGE(BN_CLICKED, kSymbolButtonRanges[4].first, kSymbolButtonRanges[4].last, OnSymbol)
        ON_CONTROL_RANGE(BN_CLICKED, kSymbolButtonRanges[5].first, kSymbolButtonRanges[5].last, OnSymbol)
        ON_CONTROL_RANGE(BN_CLICKED, kSymbolButtonRanges[6].first, kSymbolButtonRanges[6].last, OnSymbol)
        ON_CONTROL_RANGE(BN_CLICKED, kSymbolButtonRanges[7].first, kSymbolButtonRanges[7].last, OnSymbol)
        ON_CONTROL_RANGE(BN_CLICKED, kSymbolButtonRanges[8].first, kSymbolButtonRanges[8].last, OnSymbol)
        END_MESSAGE_MAP()
    const AFX_MSGMAP* GetMessageMap() const override { return GetThisMessageMap(); }
};

// One step of a session: a line of the session language (UTF-8), or a probe
// that looks at (or acts on) the running dialog between two actions.
using HelperStep = std::variant<std::string, std::function<void()>>;

class HelperSource : public session::ActionSource {
public:
    explicit HelperSource(std::vector<HelperStep> steps) : steps_(std::move(steps)) {}
    std::optional<session::Action> next(const std::string&) override {
        while (at_ < steps_.size()) {
            HelperStep& step = steps_[at_++];
            if (auto* probe = std::get_if<std::function<void()>>(&step)) {
                (*probe)();
                continue;
            }
            if (auto a = session::parseAction(std::get<std::string>(step), "helpers:" + std::to_string(at_))) return a;
        }
        return std::nullopt;
    }

private:
    std::vector<HelperStep> steps_;
    std::size_t at_ = 0;
};

// Runs the helper dialog against a new drawing.
class HelperTest : public ::testing::Test {
protected:
    HelperTest() {
        host::HostRuntime::instance().reset();
        session::Session::instance().reset();
        session::Transcript::instance().clear();
        keyboard::Keyboard::instance().reset();
        ui::resetMessageBoxes();
        ui::attachToSession();
        keyboard::attachToSession();
        ui::registerModuleResources(&module_, &table_);
        chain_ = std::make_unique<CDynLinkLibrary>(&module_, &module_);
        g_textProperties = TextProperties{};
    }
    ~HelperTest() override {
        chain_.reset();
        ui::unregisterModuleResources(&module_);
        session::Session::instance().setSource(nullptr);
        session::Session::instance().reset();
        g_textProperties = TextProperties{};
    }

    // Runs the dialog over the steps with `style` in the style box; it ends
    // by Escape (appended here). Answers what the text field held at the end.
    std::string run(std::vector<HelperStep> steps, const std::string& style = "Standard") {
        steps.emplace_back(std::string("key escape"));
        HelperSource source(std::move(steps));
        session::Session::instance().setSource(&source);
        dialog = std::make_unique<HelperDialog>();
        dialog->m_strStyle = style;
        dialog->DoModal();
        EXPECT_FALSE(session::Session::instance().failed()) << session::Session::instance().failure();
        session::Session::instance().setSource(nullptr);
        return dialog->m_strText;
    }

    // State of a control of the running dialog.
    ui::Window& control(int id) { return *ui::childById(dialog->m_hWnd, id); }
    std::string text(int id) { return control(id).text; }
    bool focused(int id) { return CWnd::GetFocus() == dialog->GetDlgItem(id); }

    std::unique_ptr<HelperDialog> dialog;

private:
    HINSTANCE__ module_{};
    const ui::ResourceTable table_ = helperTable();
    std::unique_ptr<CDynLinkLibrary> chain_;
};

}  // namespace kestrin::test::helpers
