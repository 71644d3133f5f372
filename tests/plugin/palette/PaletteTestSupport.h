// Runs the real palette against the real host: a new drawing, the module's
// resources, and a session whose steps are script lines or probes that look
// at the running palette between two actions.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "host/api/Arx.h"
#include "host/api/HostRuntime.h"
#include "host/api/HostSession.h"
#include "host/ui/HostWindow.h"
#include "platform/session/ActionParser.h"
#include "platform/session/Session.h"
#include "platform/session/Transcript.h"
#include "platform/ui/Framework.h"
#include "platform/ui/SessionBinding.h"
#include "plugin/frame/TextPlacement.h"
#include "plugin/palette/TextPaletteDlg.h"
#include "plugin/resources/ResourceIds.h"
#include "plugin/palette/TextProperties.h"
#include "tests/support/ScriptedSource.h"

namespace kestrin::test {

// What a text entity of the drawing holds.
struct TextSeen {
    std::string text;
    double height = 0, rotation = 0, oblique = 0, widthFactor = 0;
    std::string style;
    int horizontalMode = 0;
    AcGePoint3d position, alignment;
    bool erased = false;
};

class PaletteTest : public ::testing::Test {
protected:
    PaletteTest();
    ~PaletteTest() override;

    // The first line's empty entity at (x, y), as the placement command makes it.
    void startLine(double x, double y);
    // Runs the palette modally over the steps; the session must not fail.
    INT_PTR runPalette(std::vector<Step> steps);

    // The texts of model space that are not erased, oldest first.
    std::vector<TextSeen> texts() const;
    // The record's preview entity, erased or not.
    TextSeen preview() const;
    AcDbObjectId addStyle(const std::string& name);
    double styleOblique(const std::string& name) const;
    double styleXScale(const std::string& name) const;
    std::string stringVar(const char* name) const;
    double realVar(const char* name) const;
    std::string output() const;  // the command line's output (UTF-8)

    CTextPaletteDlg* dlg = nullptr;  // while runPalette runs
    std::vector<std::string> prompts;  // prompts seen by the last run (UTF-8)

private:
    HINSTANCE__ module_{};
    std::unique_ptr<CDynLinkLibrary> chain_;
};




inline PaletteTest::PaletteTest() {
    host::HostRuntime::instance().reset();
    session::Session::instance().reset();
    session::Transcript::instance().clear();
    ui::attachToSession();
    host::attachToSession();
    ui::registerModuleResources(&module_, kestrinModuleResources());
    chain_ = std::make_unique<CDynLinkLibrary>(&module_, &module_);
    g_textProperties = TextProperties{};
}

inline PaletteTest::~PaletteTest() {
    chain_.reset();
    ui::unregisterModuleResources(&module_);
    session::Session::instance().setSource(nullptr);
    session::Session::instance().reset();
    g_textProperties = TextProperties{};
}

inline void PaletteTest::startLine(double x, double y) {
    g_textProperties.insertionPoint = AcGePoint3d(x, y, 0);
    createTextEntity(std::string());
}

inline INT_PTR PaletteTest::runPalette(std::vector<Step> steps) {
    ScriptedSource source(std::move(steps), "palette");
    session::Session::instance().setSource(&source);
    CTextPaletteDlg palette(CWnd::FromHandle(adsw_acadMainWnd()));
    dlg = &palette;
    const INT_PTR result = palette.DoModal();
    dlg = nullptr;
    prompts = source.prompts;
    EXPECT_FALSE(session::Session::instance().failed()) << session::Session::instance().failure();
    EXPECT_EQ(host::openObjectCount(), 0u) << host::describeOpenObjects();
    session::Session::instance().setSource(nullptr);
    return result;
}

namespace detail {

inline TextSeen seeText(AcDbText* text) {
    TextSeen seen;
    seen.text = text->textStringConst();
    seen.height = text->height();
    seen.rotation = text->rotation();
    seen.oblique = text->oblique();
    seen.widthFactor = text->widthFactor();
    seen.horizontalMode = static_cast<int>(text->horizontalMode());
    seen.position = text->position();
    seen.alignment = text->alignmentPoint();
    seen.erased = text->isErased();
    AcDbTextStyleTableRecord* style = nullptr;
    if (acdbOpenObject(style, text->textStyle(), AcDb::kForRead) == Acad::eOk) {
        const char* name = nullptr;
        style->getName(name);
        seen.style = name;
        style->close();
    }
    return seen;
}

inline AcDbTextStyleTableRecord* openStyle(const std::string& name, AcDb::OpenMode mode) {
    AcDbTextStyleTable* table = nullptr;
    acdbHostApplicationServices()->workingDatabase()->getTextStyleTable(table, AcDb::kForRead);
    AcDbTextStyleTableRecord* record = nullptr;
    table->getAt(name.c_str(), record, mode);
    table->close();
    return record;
}

}  // namespace detail

inline std::vector<TextSeen> PaletteTest::texts() const {
    std::vector<TextSeen> out;
    AcDbBlockTable* table = nullptr;
    acdbHostApplicationServices()->workingDatabase()->getBlockTable(table, AcDb::kForRead);
    AcDbBlockTableRecord* space = nullptr;
    table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForRead);
    table->close();
    AcDbBlockTableRecordIterator* it = nullptr;
    space->newIterator(it);
    for (; !it->done(); it->step()) {
        AcDbEntity* entity = nullptr;
        if (it->getEntity(entity, AcDb::kForRead) != Acad::eOk) continue;
        if (AcDbText* text = AcDbText::cast(entity)) out.push_back(detail::seeText(text));
        entity->close();
    }
    delete it;
    space->close();
    return out;
}

inline TextSeen PaletteTest::preview() const {
    AcDbObjectId id;
    acdbGetObjectId(id, g_textProperties.entity);
    AcDbText* text = nullptr;
    if (acdbOpenObject(text, id, AcDb::kForRead, true) != Acad::eOk) {
        ADD_FAILURE() << "the preview entity cannot be opened";
        return {};
    }
    TextSeen seen = detail::seeText(text);
    text->close();
    return seen;
}

inline AcDbObjectId PaletteTest::addStyle(const std::string& name) {
    AcDbTextStyleTable* table = nullptr;
    acdbHostApplicationServices()->workingDatabase()->getTextStyleTable(table, AcDb::kForWrite);
    auto* record = new AcDbTextStyleTableRecord;
    record->setName(name.c_str());
    record->setFileName("txt.shx");
    AcDbObjectId id;
    if (table->add(id, record) == Acad::eOk) record->close();
    else delete record;
    table->close();
    return id;
}

inline double PaletteTest::styleOblique(const std::string& name) const {
    AcDbTextStyleTableRecord* record = detail::openStyle(name, AcDb::kForRead);
    if (record == nullptr) return -1;
    const double angle = record->obliquingAngle();
    record->close();
    return angle;
}

inline double PaletteTest::styleXScale(const std::string& name) const {
    AcDbTextStyleTableRecord* record = detail::openStyle(name, AcDb::kForRead);
    if (record == nullptr) return -1;
    const double scale = record->xScale();
    record->close();
    return scale;
}

inline std::string PaletteTest::stringVar(const char* name) const {
    resbuf value{};
    if (acedGetVar(name, &value) != RTNORM || value.restype != RTSTR) return {};
    std::string out = value.resval.rstring;
    acutDelString(value.resval.rstring);
    return out;
}

inline double PaletteTest::realVar(const char* name) const {
    resbuf value{};
    if (acedGetVar(name, &value) != RTNORM) return -1;
    return value.restype == RTREAL ? value.resval.rreal : value.resval.rint;
}

inline std::string PaletteTest::output() const { return session::Transcript::instance().outputSinceMark(); }

// A control of the palette, as the dialog's child window with that id.
template <class Control>
Control& paletteControl(CTextPaletteDlg& dlg, int id) {
    return *static_cast<Control*>(dlg.GetDlgItem(id));
}

inline std::string controlText(CTextPaletteDlg& dlg, int id) {
    std::string text;
    dlg.GetDlgItemText(id, text);
    return text;
}

inline bool controlShown(CTextPaletteDlg& dlg, int id) { return dlg.GetDlgItem(id)->IsWindowVisible(); }
inline bool controlEnabled(CTextPaletteDlg& dlg, int id) { return dlg.GetDlgItem(id)->IsWindowEnabled(); }

inline std::vector<std::string> comboEntries(CComboBox& combo) {
    std::vector<std::string> out;
    for (int i = 0; i < combo.GetCount(); ++i) {
        std::string entry;
        combo.GetLBText(i, entry);
        out.push_back(entry);
    }
    return out;
}
// Runs the palette on a new line at (0, 0) under the style `style` (made
// when the drawing lacks it) and answers what its text field held at the
// end; the run ends by Escape (appended here).
class PaletteFieldTest : public PaletteTest {
protected:
    std::string run(std::vector<Step> steps, const std::string& style = "Standard") {
        if (style != "Standard") addStyle(style);
        g_textProperties.styleName = style;
        startLine(0, 0);
        std::string field;
        steps.emplace_back([&] { field = controlText(*dlg, 8019); });
        steps.emplace_back(std::string("key escape"));
        runPalette(std::move(steps));
        return field;
    }
    static constexpr int kText = 8019, kOffsetX = 8015, kRoman = 8038, kRomanOut = 8041, kLayout = 8048;
    ui::Window& control(int id) { return *ui::childById(dlg->m_hWnd, id); }
    std::string text(int id) { return controlText(*dlg, id); }
    bool enabled(int id) { return controlEnabled(*dlg, id); }
    bool focused(int id) { return CWnd::GetFocus() == dlg->GetDlgItem(id); }
};

}  // namespace kestrin::test
