#include "gui/DrawingView.h"

#include <QImage>
#include <QPaintEvent>
#include <QRegion>
#include <QtMath>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>

#include "gui/DrawingModel.h"
#include "render/FontLibrary.h"
#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbCurves.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbTextStyleTable.h"
#include "host/dxf/Template.h"
#include "tests/gui/GuiTest.h"

namespace kestrin::gui {
namespace {

dxf::Record record(const std::string& type, std::initializer_list<std::pair<int, std::string>> tags) {
    dxf::Record r;
    r.type = type;
    for (const auto& [code, value] : tags) r.tags.push(code, value);
    return r;
}

// A drawing of one LINE from (0,0) to (100,50) and an INSERT of a block with
// an attribute (handles A00 to A02) far to the right.
dxf::Document drawing() {
    dxf::Document doc = dxf::newDrawingTemplate();
    dxf::Block box;
    box.begin = record("BLOCK", {{8, "0"}, {2, "BOX"}, {70, "0"}, {10, "0"}, {20, "0"}});
    box.entities.push_back(record("LINE", {{8, "0"}, {10, "0"}, {20, "0"}, {11, "4"}, {21, "0"}}));
    box.end = record("ENDBLK", {{8, "0"}});
    doc.blocks.push_back(std::move(box));
    doc.entities.push_back(record("LINE", {{5, "9F0"}, {8, "0"}, {10, "0"}, {20, "0"}, {11, "100"}, {21, "50"}}));
    doc.entities.push_back(record("INSERT", {{5, "A00"}, {8, "0"}, {66, "1"}, {2, "BOX"}, {10, "1000"}, {20, "0"}}));
    doc.entities.push_back(record("ATTRIB", {{5, "A01"}, {8, "0"}, {10, "1000"}, {20, "5"}, {40, "2"}, {1, "X"},
                                             {2, "TAG"}, {70, "0"}}));
    doc.entities.push_back(record("SEQEND", {{5, "A02"}, {8, "0"}}));
    return doc;
}

template <class T>
T* open(AcDbDatabase& db, std::uint64_t handle) {
    AcDbObjectId id;
    EXPECT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(handle)), Acad::eOk);
    T* object = nullptr;
    EXPECT_EQ(acdbOpenObject(object, id, AcDb::kForWrite), Acad::eOk);
    return object;
}

void appendLine(AcDbDatabase& db, double x0, double y0, double x1, double y1) {
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(db.getBlockTable(table, AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecord* model = nullptr;
    ASSERT_EQ(table->getAt(ACDB_MODEL_SPACE, model, AcDb::kForWrite), Acad::eOk);
    table->close();
    auto* line = new AcDbLine(AcGePoint3d(x0, y0, 0), AcGePoint3d(x1, y1, 0));
    ASSERT_EQ(model->appendAcDbEntity(line), Acad::eOk);
    line->close();
    model->close();
}

// The "Standard" text style twice as wide: a table change, which may change any text.
void widenStandardStyle(AcDbDatabase& db) {
    AcDbTextStyleTable* styles = nullptr;
    ASSERT_EQ(db.getTextStyleTable(styles, AcDb::kForRead), Acad::eOk);
    AcDbTextStyleTableRecord* standard = nullptr;
    ASSERT_EQ(styles->getAt("Standard", standard, AcDb::kForWrite), Acad::eOk);
    styles->close();
    standard->setXScale(2);
    standard->close();
}

class DrawingViewTest : public ::testing::Test {
protected:
    DrawingViewTest() { db.fromDocument(drawing()); }
    void showView() {
        view.resize(400, 300);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        view.zoomExtents();  // the line alone: the INSERT is taken out of the way below
    }
    // Pixels of the view as painted now.
    QImage pixels() { return view.grab().toImage().convertToFormat(QImage::Format_Grayscale8); }
    int gray(const QImage& image, QPointF p) {
        // The darkest pixel within one of the point: strokes may fall either side.
        int best = 255;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                best = std::min(best, qGray(image.pixel(qRound(p.x()) + dx, qRound(p.y()) + dy)));
        return best;
    }

    struct Application {
        Application() { test::startApplication(); }
    } application;  // before the view
    AcDbDatabase db;
    DrawingModel model{{[this] { return &db; }, [] { return std::string(); }, [] { return std::vector<std::string>(); }}};
    DrawingView view{model};
};

TEST_F(DrawingViewTest, ModelRedrawsOneEntityAloneAndEverythingOnATableChange) {
    const render::ViewScene& scene = model.scene();
    ASSERT_EQ(model.rebuilds(), 1u);
    ASSERT_TRUE(scene.contains(0x9F0));
    ASSERT_TRUE(scene.contains(0xA00));
    int told = 0;
    auto counting = model.changed.connectScoped([&] { ++told; });

    // The attribute's change redraws its INSERT, nothing else.
    const double wideBefore = scene.boxOf(0xA00).maxX;
    AcDbAttribute* attribute = open<AcDbAttribute>(db, 0xA01);
    ASSERT_NE(attribute, nullptr);
    attribute->setTextString("A much longer value");
    attribute->close();
    EXPECT_EQ(told, 1);
    EXPECT_GT(model.scene().boxOf(0xA00).maxX, wideBefore + 10);

    // An added line, an erased line.
    appendLine(db, 10, 10, 20, 20);
    EXPECT_EQ(model.scene().size(), 3u);
    AcDbLine* line = open<AcDbLine>(db, 0x9F0);
    ASSERT_NE(line, nullptr);
    line->erase();
    line->close();
    EXPECT_FALSE(model.scene().contains(0x9F0));
    EXPECT_EQ(told, 3);
    EXPECT_EQ(model.rebuilds(), 1u) << "no change of a single entity redraws the whole drawing";

    // A text style's change may change any text: everything is drawn again.
    widenStandardStyle(db);
    EXPECT_EQ(told, 4);
    EXPECT_GT(model.scene().boxOf(0xA00).maxX, wideBefore + 40);  // twice as wide now
    EXPECT_EQ(model.rebuilds(), 2u);

    // The whole drawing replaced.
    db.fromDocument(drawing());
    EXPECT_TRUE(model.scene().contains(0x9F0));
    EXPECT_EQ(model.rebuilds(), 3u);
}

// A drawing drawn again (a table changed) draws first what the view showed:
// here the last of 6000 lines, which the first share alone then holds.
TEST(DrawingModel, DrawnAgainItDrawsWhatWasShownFirst) {
    test::startApplication();
    dxf::Document doc = dxf::newDrawingTemplate();
    for (int k = 0; k < 6000; ++k) {
        char handle[16];
        std::snprintf(handle, sizeof handle, "%X", 0x1000 + k);
        const std::string x = std::to_string(k * 10);
        doc.entities.push_back(record("LINE", {{5, handle}, {8, "0"}, {10, x}, {20, "0"}, {11, x}, {21, "5"}}));
    }
    AcDbDatabase db;
    db.fromDocument(std::move(doc));
    DrawingModel model{{[&db] { return &db; }, [] { return std::string(); }, [] { return std::vector<std::string>(); }}};
    ASSERT_EQ(model.scene().size(), 6000u);
    model.setShown({59895, -1, 60000, 6});  // the last ten lines

    widenStandardStyle(db);

    ASSERT_TRUE(model.buildSome(std::chrono::nanoseconds(0)));
    const render::ViewScene& partial = model.partialScene();
    EXPECT_LT(partial.size(), 6000u);
    for (std::uint64_t h = 0x1000 + 5990; h < 0x1000 + 6000; ++h) EXPECT_TRUE(partial.contains(h)) << std::hex << h;
    EXPECT_GT(*model.buildProgress(), 0.0);
    EXPECT_EQ(model.rebuilds(), 2u);
    // Then the rest, each once.
    EXPECT_EQ(model.scene().size(), 6000u);
    EXPECT_FALSE(model.buildProgress().has_value());
    for (std::uint64_t h = 0x1000; h < 0x1000 + 6000; h += 599) EXPECT_TRUE(model.scene().contains(h));
}

// The model builds its scene from the store's entities one by one; it holds
// what a scene built from the whole saved drawing holds, entity by entity.
TEST_F(DrawingViewTest, TheModelsSceneIsTheSceneOfTheWholeDrawing) {
    dxf::Document doc = drawing();
    doc.entities.push_back(record("LINE", {{5, "B00"}, {8, "0"}, {67, "1"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}}));
    doc.entities.push_back(record("TEXT", {{5, "B01"}, {8, "0"}, {10, "5"}, {20, "5"}, {40, "2"}, {1, "Abc %%uline"}}));
    doc.entities.push_back(record("TEXT", {{5, "B02"}, {8, "0"}, {10, "5"}, {20, "9"}, {40, "2"}, {1, "Plain"}}));
    // A reference whose far attribute is erased before the scene is built: drawn without it.
    doc.entities.push_back(record("INSERT", {{5, "B03"}, {8, "0"}, {66, "1"}, {2, "BOX"}, {10, "500"}, {20, "0"}}));
    doc.entities.push_back(record("ATTRIB", {{5, "B04"}, {8, "0"}, {10, "500"}, {20, "5"}, {40, "2"}, {1, "Near"},
                                             {2, "TAG"}, {70, "0"}}));
    doc.entities.push_back(record("ATTRIB", {{5, "B05"}, {8, "0"}, {10, "2000"}, {20, "5"}, {40, "2"}, {1, "Far"},
                                             {2, "FAR"}, {70, "0"}}));
    doc.entities.push_back(record("SEQEND", {{5, "B06"}, {8, "0"}}));
    db.fromDocument(std::move(doc));
    AcDbObject* far = open<AcDbObject>(db, 0xB05);
    far->erase();
    far->close();
    const render::ViewScene& scene = model.scene();
    EXPECT_LT(scene.boxOf(0xB03).maxX, 1000);
    render::FontLibrary fonts("", {}, nullptr);
    render::ViewScene whole(fonts);
    whole.build(db.toDocument());
    EXPECT_FALSE(scene.contains(0xB00)) << "paper space";
    EXPECT_EQ(scene.size(), whole.size());
    const auto mine = scene.entities(), theirs = whole.entities();
    ASSERT_EQ(mine.size(), theirs.size());
    for (std::size_t k = 0; k < mine.size(); ++k) {
        EXPECT_EQ(mine[k].first, theirs[k].first);
        EXPECT_EQ(mine[k].second, theirs[k].second) << "entity " << std::hex << mine[k].first;
        const render::Box a = scene.boxOf(mine[k].first), b = whole.boxOf(mine[k].first);
        EXPECT_TRUE(a.minX == b.minX && a.minY == b.minY && a.maxX == b.maxX && a.maxY == b.maxY)
            << "the box of " << std::hex << mine[k].first;
    }
}

TEST(DrawingModel, TakesUpTheDrawingTheHostPutInPlaceOfTheOldOne) {
    auto first = std::make_unique<AcDbDatabase>();
    first->fromDocument(drawing());
    AcDbDatabase* current = first.get();
    DrawingModel model({[&] { return current; }, [] { return std::string(); }, [] { return std::vector<std::string>(); }});
    ASSERT_TRUE(model.scene().contains(0x9F0));

    AcDbDatabase second;
    second.fromDocument(dxf::newDrawingTemplate());
    appendLine(second, 0, 0, 1, 1);
    current = &second;
    int told = 0;
    auto counting = model.changed.connectScoped([&] { ++told; });
    model.sync();
    EXPECT_EQ(told, 1);
    EXPECT_FALSE(model.scene().contains(0x9F0));
    EXPECT_EQ(model.scene().size(), 1u);
    // The old drawing is no longer heard, and may go.
    appendLine(*first, 5, 5, 6, 6);
    first.reset();
    EXPECT_EQ(told, 1);
    appendLine(second, 2, 2, 3, 3);
    EXPECT_EQ(told, 2);
    EXPECT_EQ(model.scene().size(), 2u);
}

TEST_F(DrawingViewTest, PaintsDarkInkWhereTheLineIsAndWhiteElsewhere) {
    AcDbObject* insert = open<AcDbObject>(db, 0xA00);
    insert->erase();
    insert->close();
    showView();
    // The line fills the view's width less a margin: 400 * 0.95 px for 100 units.
    EXPECT_NEAR(view.mapping().pixelsPerUnit, 3.8, 1e-9);
    const QImage image = pixels();
    for (double t : {0.1, 0.5, 0.9}) EXPECT_LT(gray(image, view.worldToPixel(100 * t, 50 * t)), 128) << t;
    EXPECT_EQ(gray(image, view.worldToPixel(50, 40)), 255);
    EXPECT_EQ(gray(image, view.worldToPixel(80, 10)), 255);
    EXPECT_EQ(gray(image, QPointF(5, 5)), 255);
}

TEST_F(DrawingViewTest, ManyStrokesArePaintedPixelByPixelAndSmallEntitiesAsTheirCells) {
    AcDbObject* insert = open<AcDbObject>(db, 0xA00);
    insert->erase();
    insert->close();
    const render::ViewScene& scene = model.scene();
    PaintOptions pixelByPixel;
    pixelByPixel.antialiasStrokes = 0;
    // Whole: the line 200 px wide.
    QImage image(240, 140, QImage::Format_RGB32);
    ViewMapping m = ViewMapping::fit(scene.extents(), 240, 140);
    ASSERT_GT(m.pixelsPerUnit * 100, 16);
    EXPECT_FALSE(paintScene(image, scene, m, pixelByPixel).antialiased);
    auto ink = [](const QImage& im, QPointF p) { return qGray(im.pixel(qFloor(p.x()), qFloor(p.y()))) < 128; };
    // Within a pixel of the stroke (across it: the line is flatter than 45 degrees).
    auto inkNear = [&](const QImage& im, QPointF p) {
        return ink(im, p) || ink(im, p + QPointF(0, 1)) || ink(im, p - QPointF(0, 1));
    };
    for (double t = 0.05; t < 1; t += 0.1) EXPECT_TRUE(inkNear(image, m.toPixel({100 * t, 50 * t}))) << t;
    EXPECT_FALSE(ink(image, m.toPixel({80, 10})));
    EXPECT_FALSE(ink(image, m.toPixel({20, 40})));

    // Its cells: the line 15 px wide, a patch.
    QImage small(40, 30, QImage::Format_RGB32);
    m = ViewMapping{{50, 25}, 0.15, 40, 30};
    EXPECT_EQ(scene.query(m.window()).patches.size(), 1u);
    paintScene(small, scene, m, pixelByPixel);
    for (double t = 0.05; t < 1; t += 0.1) EXPECT_TRUE(inkNear(small, m.toPixel({100 * t, 50 * t}))) << t;
    EXPECT_FALSE(ink(small, m.toPixel({95, 5})));
    EXPECT_FALSE(ink(small, m.toPixel({5, 45})));
    int inked = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) inked += ink(small, QPointF(x, y));
    EXPECT_GE(inked, 15);
    EXPECT_LE(inked, 30);
}

TEST_F(DrawingViewTest, WheelZoomsAboutTheCursorAndMiddleDragPans) {
    AcDbObject* insert = open<AcDbObject>(db, 0xA00);
    insert->erase();
    insert->close();
    showView();
    const QPointF cursor(120, 90);
    const QPointF under = view.pixelToWorld(cursor);
    const double scale = view.mapping().pixelsPerUnit;
    QWheelEvent wheel(cursor, view.mapToGlobal(cursor), QPoint(), QPoint(0, 240), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &wheel);
    EXPECT_NEAR(view.mapping().pixelsPerUnit, scale * 1.25 * 1.25, 1e-9);
    const QPointF still = view.pixelToWorld(cursor);
    EXPECT_NEAR(still.x(), under.x(), 1e-9);
    EXPECT_NEAR(still.y(), under.y(), 1e-9);

    // The drawing follows the mouse: the point grabbed stays under it.
    const QPointF from(200, 150), to(230, 110);
    const QPointF grabbed = view.pixelToWorld(from);
    QTest::mousePress(&view, Qt::MiddleButton, Qt::NoModifier, from.toPoint());
    QMouseEvent move(QEvent::MouseMove, to, view.mapToGlobal(to), Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &move);
    QTest::mouseRelease(&view, Qt::MiddleButton, Qt::NoModifier, to.toPoint());
    const QPointF now = view.worldToPixel(grabbed.x(), grabbed.y());
    EXPECT_NEAR(now.x(), to.x(), 1e-9);
    EXPECT_NEAR(now.y(), to.y(), 1e-9);
    // A move without the middle button pans nothing.
    QMouseEvent hover(QEvent::MouseMove, from, view.mapToGlobal(from), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &hover);
    EXPECT_NEAR(view.worldToPixel(grabbed.x(), grabbed.y()).x(), to.x(), 1e-9);
}

TEST_F(DrawingViewTest, ClicksTellTheDrawingPointAndWhereAMenuGoes) {
    AcDbObject* insert = open<AcDbObject>(db, 0xA00);
    insert->erase();
    insert->close();
    showView();
    QSignalSpy left(&view, &DrawingView::leftClicked);
    QSignalSpy menu(&view, &DrawingView::contextMenuRequested);
    // The view's middle shows the line's middle (50, 25); 3.8 px a unit.
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(238, 131));
    ASSERT_EQ(left.size(), 1);
    EXPECT_NEAR(left[0][0].toDouble(), 60, 1e-9);
    EXPECT_NEAR(left[0][1].toDouble(), 30, 1e-9);
    QTest::mouseClick(&view, Qt::RightButton, Qt::NoModifier, QPoint(10, 20));
    ASSERT_EQ(menu.size(), 1);
    EXPECT_EQ(menu[0][0].toPoint(), view.mapToGlobal(QPoint(10, 20)));
    EXPECT_EQ(left.size(), 1);
}

// Counts the paints a widget gets.
struct PaintCounter : QObject {
    int paints = 0;
    QRegion painted;  // what the paints since the last clear covered
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            ++paints;
            painted += static_cast<QPaintEvent*>(e)->region();
        }
        return false;
    }
};

TEST_F(DrawingViewTest, ADatabaseChangeRepaintsThroughTheModel) {
    showView();
    PaintCounter counter;
    view.installEventFilter(&counter);
    QCoreApplication::processEvents();
    counter.paints = 0;
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 0) << "nothing changed, nothing painted";

    int told = 0;
    auto counting = model.changed.connectScoped([&] { ++told; });
    appendLine(db, 0, 50, 100, 0);
    EXPECT_EQ(told, 1);
    QCoreApplication::processEvents();
    EXPECT_GE(counter.paints, 1);
    const QImage image = pixels();
    EXPECT_LT(gray(image, view.worldToPixel(25, 37.5)), 128) << "the new line is shown";

    // The model's word alone repaints: that is the view's one way to hear of changes.
    const int before = counter.paints;
    model.changed.emit();
    QCoreApplication::processEvents();
    EXPECT_GT(counter.paints, before);
}

// A keystroke in the palette changes one text: its old and new boxes are
// painted again, and nothing else, and the result is what a whole paint
// gives. A pan moves what was painted and paints the strip that shows.
TEST_F(DrawingViewTest, OneEntitysChangePaintsItsBoxesAloneAndAPanOnlyTheStripThatShows) {
    showView();
    PaintCounter counter;
    view.installEventFilter(&counter);
    QCoreApplication::processEvents();
    counter.painted = QRegion();

    const QPointF oldMiddle = view.worldToPixel(50, 25);
    AcDbLine* line = open<AcDbLine>(db, 0x9F0);
    ASSERT_NE(line, nullptr);
    line->setEndPoint(AcGePoint3d(100, 30, 0));  // stays inside the view: no refit
    line->close();
    QCoreApplication::processEvents();
    const QRect painted = counter.painted.boundingRect();
    EXPECT_TRUE(painted.contains(oldMiddle.toPoint())) << "the old line is rubbed out";
    EXPECT_TRUE(painted.contains(view.worldToPixel(50, 15).toPoint())) << "the new one drawn";
    EXPECT_LT(painted.height(), view.height() - 100) << "not the whole view";

    // A part is painted as the whole paints it there.
    QImage whole(view.size(), QImage::Format_RGB32);
    paintScene(whole, model.scene(), view.mapping());
    QImage part(painted.size(), QImage::Format_RGB32);
    paintScene(part, model.scene(), view.mapping().part(painted));
    EXPECT_EQ(part, whole.copy(painted));
    EXPECT_GT(gray(whole, oldMiddle), 200) << "the old line is gone";

    counter.painted = QRegion();
    view.panBy(0.25, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.painted.boundingRect().width(), qRound(view.width() / 4.0)) << "the strip that came into view";
}

// A drawing of many strokes is painted pixel by pixel and that picture
// kept: painted again unchanged (a screenshot) it is the same, and a change
// of the drawing or of the view paints anew.
TEST(DrawingView, APictureKeptServesUntilTheDrawingOrTheViewChanges) {
    test::startApplication();
    dxf::Document doc = dxf::newDrawingTemplate();
    // Long lines close together, each a stroke drawn whole: more than are drawn anti-aliased.
    for (int k = 0; k < 22000; ++k) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%X", 0x1000 + k);
        const std::string y = std::to_string(k * 0.001);
        doc.entities.push_back(record("LINE", {{5, hex}, {8, "0"}, {10, "0"}, {20, y}, {11, "1000"}, {21, y}}));
    }
    doc.entities.push_back(record("LINE", {{5, "F00"}, {8, "0"}, {10, "0"}, {20, "500"}, {11, "1000"}, {21, "500"}}));
    AcDbDatabase db;
    db.fromDocument(std::move(doc));
    DrawingModel model{{[&] { return &db; }, [] { return std::string(); }, [] { return std::vector<std::string>(); }}};
    DrawingView view{model};
    view.resize(400, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.zoomExtents();
    auto shown = [&] { return view.grab().toImage().convertToFormat(QImage::Format_RGB32); };
    auto fresh = [&] {
        QImage image(view.size(), QImage::Format_RGB32);
        EXPECT_FALSE(paintScene(image, model.scene(), view.mapping()).antialiased);
        return image;
    };
    const QImage first = shown();
    EXPECT_EQ(first, fresh());
    EXPECT_EQ(shown(), first);

    AcDbLine* line = open<AcDbLine>(db, 0x1000);
    ASSERT_NE(line, nullptr);
    line->setEndPoint(AcGePoint3d(1000, 400, 0));  // across the white above the others
    line->close();
    QCoreApplication::processEvents();
    const QImage changed = shown();
    EXPECT_NE(changed, first);
    EXPECT_EQ(changed, fresh());

    view.zoomBy(1.1);
    const QImage nearer = shown();
    EXPECT_NE(nearer, changed);
    EXPECT_EQ(nearer, fresh());

    AcDbObject* gone = open<AcDbObject>(db, 0x1000);
    ASSERT_NE(gone, nullptr);
    gone->erase();
    gone->close();
    QCoreApplication::processEvents();
    const QImage erased = shown();
    EXPECT_NE(erased, nearer);
    EXPECT_EQ(erased, fresh());
}

// A blue solid square 0..10 crossed by a red line above it, drawn both ways.
TEST(PaintScene, AreasUnderStrokesInTheirColoursEitherWay) {
    test::startApplication();
    dxf::Document doc = dxf::newDrawingTemplate();
    doc.entities.clear();
    doc.entities.push_back(record("SOLID", {{5, "B0"}, {8, "0"}, {62, "5"}, {10, "0"}, {20, "0"}, {11, "10"}, {21, "0"},
                                            {12, "0"}, {22, "10"}, {13, "10"}, {23, "10"}}));
    doc.entities.push_back(record("LINE", {{5, "B1"}, {8, "0"}, {62, "1"}, {10, "-5"}, {20, "5.05"}, {11, "15"}, {21, "5.05"}}));
    render::FontLibrary fonts("", {}, nullptr);
    render::ViewScene scene(fonts);
    scene.build(doc);
    const ViewMapping m = ViewMapping::fit(scene.extents(), 200, 200);
    for (const std::size_t limit : {std::size_t{20000}, std::size_t{0}}) {
        QImage image(200, 200, QImage::Format_RGB32);
        PaintOptions options;
        options.antialiasStrokes = limit;
        const PaintResult r = paintScene(image, scene, m, options);
        EXPECT_EQ(r.antialiased, limit > 0);
        EXPECT_EQ(r.areas, 1u);
        const QColor inside = image.pixelColor(m.toPixel({3, 3}).toPoint());
        EXPECT_EQ(inside, QColor(0, 0, 255)) << "antialiased " << r.antialiased;
        EXPECT_EQ(image.pixelColor(m.toPixel({12, 3}).toPoint()), QColor(Qt::white));
        // The line over the area, and beside it, red (it runs through the pixels' middles).
        for (const double x : {-3.0, 5.0}) {
            const QPointF p = m.toPixel({x, 5.05});
            const QColor c = image.pixelColor(qFloor(p.x()), qFloor(p.y()));
            EXPECT_GT(c.red() - std::max(c.green(), c.blue()), 200)
                << x << (r.antialiased ? " antialiased " : " pixel by pixel ") << c.name().toStdString();
        }
        // Zoomed far into the square: its corners millions of pixels off, the device all blue.
        QImage close(50, 50, QImage::Format_RGB32);
        paintScene(close, scene, ViewMapping{{3, 3}, 1e6, 50, 50}, options);
        EXPECT_EQ(close.pixelColor(5, 5), QColor(0, 0, 255));
        EXPECT_EQ(close.pixelColor(45, 45), QColor(0, 0, 255));
    }
}

// Painted pixel by pixel in bands of rows at once, the picture is the one
// painted in one band: lines, areas and small entities across the bands'
// edges in colours over each other, seen whole and nearer.
TEST(PaintScene, BandsOfRowsPaintTheOnePicture) {
    test::startApplication();
    dxf::Document doc = dxf::newDrawingTemplate();
    doc.entities.clear();
    std::mt19937 random(7);
    auto at = [&](double most) { return std::to_string(std::uniform_real_distribution<double>(0, most)(random)); };
    int handle = 0x100;
    auto next = [&] {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%X", handle++);
        return std::string(hex);
    };
    for (int k = 0; k < 40; ++k)
        doc.entities.push_back(record("SOLID", {{5, next()}, {8, "0"}, {62, std::to_string(1 + k % 6)}, {10, at(1000)}, {20, at(1000)},
                                                {11, at(1000)}, {21, at(1000)}, {12, at(1000)}, {22, at(1000)}, {13, at(1000)}, {23, at(1000)}}));
    for (int k = 0; k < 3000; ++k) {
        const double size = k % 3 == 0 ? 1000 : k % 3 == 1 ? 30 : 3;  // long lines, streaks and patches, stand-ins
        const double x = std::stod(at(1000)), y = std::stod(at(1000));
        doc.entities.push_back(record("LINE", {{5, next()}, {8, "0"}, {62, std::to_string(1 + k % 7)}, {10, std::to_string(x)},
                                               {20, std::to_string(y)}, {11, std::to_string(x + std::stod(at(size)) - size / 2)},
                                               {21, std::to_string(y + std::stod(at(size)) - size / 2)}}));
    }
    render::FontLibrary fonts("", {}, nullptr);
    render::ViewScene scene(fonts);
    scene.build(doc);
    const ViewMapping whole = ViewMapping::fit(scene.extents(), 256, 300);
    ViewMapping nearer = whole;
    nearer.pixelsPerUnit *= 5;
    for (const ViewMapping& m : {whole, nearer}) {
        PaintOptions options;
        options.antialiasStrokes = 0;
        options.bands = 1;
        QImage one(m.width, m.height, QImage::Format_RGB32);
        const PaintResult r = paintScene(one, scene, m, options);
        ASSERT_FALSE(r.antialiased);
        EXPECT_GT(r.strokes, 0u);
        EXPECT_GT(r.areas, 0u);
        EXPECT_GT(r.standIns + r.patches, 0u);
        options.bands = 4;
        QImage banded(m.width, m.height, QImage::Format_RGB32);
        paintScene(banded, scene, m, options);
        EXPECT_EQ(banded, one) << m.pixelsPerUnit;
    }
}

}  // namespace
}  // namespace kestrin::gui
