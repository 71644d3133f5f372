// Points and picks come from the session with the host's status numbers;
// an action that does not fit the request fails the session by name.
#include "host/api/EditorInput.h"

#include "host/api/HostVariables.h"
#include "host/api/InputRequest.h"
#include "host/api/SelectionSets.h"
#include "host/db/AcDbText.h"
#include "tests/host/api/HostFixture.h"

using namespace kestrin;
using session::ActionKind;

namespace {

class EditorInput : public test::HostTest {
protected:
    std::uint64_t handleOf(const ads_name name) {
        AcDbObjectId objectId;
        EXPECT_EQ(acdbGetObjectId(objectId, name), Acad::eOk);
        return objectId.handle().value();
    }
};

TEST_F(EditorInput, PointEnterEscapeAndTheEndOfInput) {
    source.load({test::point(1.5, -2), test::act(ActionKind::Enter), test::act(ActionKind::Escape)});
    ads_point p{};
    EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", p), RTNORM);
    EXPECT_EQ(p[X], 1.5);
    EXPECT_EQ(p[Y], -2);
    EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", p), RTNONE);
    EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", p), RTCAN);
    EXPECT_FALSE(session::Session::instance().failed()) << session::Session::instance().failure();
    EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", p), RTCAN);  // nothing more to come
    EXPECT_EQ(inputs(), (std::vector<std::string>{"1.5,-2", "", "*Cancel*"}));
    EXPECT_EQ(output(), "\nPoint: \nPoint: \nPoint: \nPoint: ");
    EXPECT_EQ(source.prompts.front(), "\nPoint: ");
}

TEST_F(EditorInput, PicksByHandleLastAndNearestPoint) {
    session::Action last = test::act(ActionKind::Pick);
    last.pick.by = session::PickTarget::By::Last;
    session::Action at = test::act(ActionKind::Pick);
    at.pick.by = session::PickTarget::By::At;
    at.pick.x = -36.2;  // on the ring of the circle centred at -40,-40 (radius 4), far from its centre
    at.pick.y = -40;
    session::Action paperAt = at;
    paperAt.pick.x = 2.1;  // on the ring of the paper-space circle
    paperAt.pick.y = 1;
    source.load({test::pick(0x40), test::act(ActionKind::Miss), last, at, last, paperAt});
    ads_name name{};
    ads_point p{};
    EXPECT_EQ(acedEntSel("\nSelect: ", name, p), RTNORM);
    EXPECT_EQ(handleOf(name), 0x40u);
    EXPECT_EQ(acedEntSel("\nSelect: ", name, p), RTERROR);
    EXPECT_EQ(acedEntSel("\nSelect: ", name, p), RTNORM);
    EXPECT_EQ(handleOf(name), 0x48u);  // the newest entity of model space
    EXPECT_EQ(acedEntSel("\nSelect: ", name, p), RTNORM);
    EXPECT_EQ(handleOf(name), 0x47u);  // the circle centred at -40,-40
    EXPECT_EQ(p[X], -36.2);

    // In paper space only its own entities can be picked.
    resbuf paper{};
    paper.restype = RTSHORT;
    paper.resval.rint = 0;
    ASSERT_EQ(acedSetVar("TILEMODE", &paper), RTNORM);
    EXPECT_EQ(acedEntSel("\nSelect: ", name, p), RTNORM);
    EXPECT_EQ(handleOf(name), 0x49u);
    EXPECT_EQ(acedEntSel("\nSelect: ", name, p), RTNORM);
    EXPECT_EQ(handleOf(name), 0x49u);
    EXPECT_EQ(inputs(), (std::vector<std::string>{"pick 40", "miss", "pick last", "pick at -36.2,-40", "pick last",
                                                  "pick at 2.1,1"}));
}

TEST_F(EditorInput, NestedPickReportsItsContainers) {
    source.load({test::pick(0x60, {0x42}), test::pick(0x60, {0x42}), test::pick(0x43)});
    ads_name name{};
    ads_point p{};
    resbuf* containers = nullptr;
    ads_matrix m;
    ASSERT_EQ(acedNEntSelP("\nSelect: ", name, p, 0, m, &containers), RTNORM);
    EXPECT_EQ(handleOf(name), 0x60u);
    ASSERT_NE(containers, nullptr);
    EXPECT_EQ(containers->restype, RTENAME);
    EXPECT_EQ(handleOf(containers->resval.rlname), 0x42u);
    EXPECT_EQ(containers->rbnext, nullptr);
    acutRelRb(containers);
    EXPECT_EQ(m[0][0], 1.0);

    EXPECT_EQ(acedEntSel("\nSelect: ", name, p), RTNORM);
    EXPECT_EQ(handleOf(name), 0x42u);  // the outermost container

    ASSERT_EQ(acedNEntSelP("\nSelect: ", name, p, 0, m, &containers), RTNORM);
    EXPECT_EQ(handleOf(name), 0x43u);  // an attribute is picked itself, with no containers
    EXPECT_EQ(containers, nullptr);
}

TEST_F(EditorInput, AnAttributePickedWithEntSelAnswersItsReference) {
    source.load({test::pick(0x43)});
    ads_name name{};
    ads_point p{};
    EXPECT_EQ(acedEntSel("\nSelect: ", name, p), RTNORM);
    EXPECT_EQ(handleOf(name), 0x42u);
}

struct Wrong {
    session::Action action;
    bool wantsPoint;
    const char* says;
};

TEST_F(EditorInput, ActionsThatDoNotFitAreRejectedByName) {
    AcDbText* text = nullptr;
    ASSERT_EQ(acdbOpenObject(text, id(0x40), AcDb::kForWrite), Acad::eOk);
    text->erase();
    text->close();
    std::vector<Wrong> cases = {
        {test::pick(0x40), true, "a point is asked for here"},
        {test::point(1, 1), false, "an entity is asked for here"},
        {test::act(ActionKind::Click), false, "\"click\" cannot be done while the host asks for an entity"},
        {test::pick(0x999), false, "entity 999 does not exist"},
        {test::pick(0x40), false, "entity 40 is erased"},
        {test::pick(0x70), false, "entity 70 is not an entity (DICTIONARY)"},
        {test::pick(0x60), false, "lies in the block definition \"BOX\""},
        {test::pick(0x60, {0x46}), false, "46 is a LINE, not a block reference"},
        {test::pick(0x47, {0x42}), false, "47 is not in the block that 42 inserts"},
    };
    for (const Wrong& w : cases) {
        session::Session::instance().reset();
        session::Session::instance().setSource(&source);
        source.load({w.action});
        ads_point p{};
        ads_name name{};
        resbuf* containers = nullptr;
        const int status = w.wantsPoint ? acedGetPoint(nullptr, "\nP: ", p)
                                        : acedNEntSelP("\nE: ", name, p, 0, nullptr, &containers);
        EXPECT_EQ(status, RTCAN) << w.says;
        EXPECT_EQ(containers, nullptr);
        EXPECT_TRUE(session::Session::instance().failed()) << w.says;
        EXPECT_NE(session::Session::instance().failure().find(w.says), std::string::npos)
            << session::Session::instance().failure();
        EXPECT_EQ(session::Session::instance().failure().rfind("test:1: ", 0), 0u);
    }
}

TEST_F(EditorInput, EntityNamesAndIdsConvertAndStaleNamesAreRefused) {
    ads_name name{};
    EXPECT_EQ(acdbGetAdsName(name, id(0x45)), Acad::eOk);
    AcDbObjectId back;
    EXPECT_EQ(acdbGetObjectId(back, name), Acad::eOk);
    EXPECT_EQ(back, id(0x45));
    EXPECT_EQ(acdbGetAdsName(name, AcDbObjectId::kNull), Acad::eNullObjectId);
    ads_name forged = {0x45, 987654};
    EXPECT_EQ(acdbGetObjectId(back, forged), Acad::eInvalidAdsName);
    EXPECT_TRUE(back.isNull());
    ads_name unknown = {0x4444, name[1]};
    acdbGetAdsName(name, id(0x45));
    unknown[1] = name[1];
    EXPECT_EQ(acdbGetObjectId(back, unknown), Acad::eInvalidAdsName);
}

}  // namespace

TEST_F(EditorInput, TheRequestIsKnownWhileItAsksAndGoneAfter) {
    using host::InputRequest;
    std::vector<InputRequest> seen;
    auto probe = [&] { seen.push_back(host::currentRequest()); };
    source.load({probe, test::point(1, 2), probe, test::act(ActionKind::Escape), probe, test::act(ActionKind::Escape)});
    EXPECT_EQ(host::currentRequest(), InputRequest::None);
    ads_point p{};
    ads_name name{};
    ads_matrix m{};
    EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", p), RTNORM);
    EXPECT_EQ(host::currentRequest(), InputRequest::None);
    EXPECT_EQ(acedEntSel("\nSelect: ", name, p), RTCAN);
    EXPECT_EQ(acedNEntSelP("\nSelect: ", name, p, 0, m, nullptr), RTCAN);
    EXPECT_EQ(host::currentRequest(), InputRequest::None);
    EXPECT_EQ(seen, (std::vector<InputRequest>{InputRequest::Point, InputRequest::Entity, InputRequest::NestedEntity}));
}

namespace {
AcGePoint3d g_from;
int shiftFromBase(ads_point pt, ads_matrix mt) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) mt[i][j] = i == j;
    mt[0][3] = pt[X] - g_from.x;
    mt[1][3] = pt[Y] - g_from.y;
    return pt[X] < 0 ? RTNONE : RTNORM;  // left of the axis: shown nowhere
}
}  // namespace

TEST_F(EditorInput, DraggedEntitiesFollowTheTransformWhileThePointIsAsked) {
    ads_name line{}, circle{}, set{}, again{};
    ASSERT_EQ(acdbGetAdsName(line, id(0x46)), Acad::eOk);
    ASSERT_EQ(acdbGetAdsName(circle, id(0x47)), Acad::eOk);
    ASSERT_EQ(acedSSAdd(line, nullptr, set), RTNORM);
    ASSERT_EQ(acedSSAdd(circle, set, again), RTNORM);
    ASSERT_EQ(acedSSAdd(line, set, again), RTNORM);  // once only
    EXPECT_EQ(again[0], set[0]);
    Adesk::Int32 length = 0;
    ASSERT_EQ(acedSSLength(set, &length), RTNORM);
    EXPECT_EQ(length, 2);
    ads_name second{};
    ASSERT_EQ(acedSSName(set, 1, second), RTNORM);
    EXPECT_EQ(handleOf(second), 0x47u);
    EXPECT_EQ(acedSSName(set, 2, second), RTERROR);
    EXPECT_EQ(acedSSAdd(set, nullptr, again), RTERROR);  // a set is no entity

    g_from = AcGePoint3d(10, 20, 0);
    std::vector<std::uint64_t> dragged;
    std::optional<std::array<double, 6>> right, left;
    source.load({[&] {
                     const host::DragRequest* drag = host::requestDrag();
                     ASSERT_NE(drag, nullptr);
                     EXPECT_EQ(host::currentRequest(), host::InputRequest::Point);
                     dragged = drag->handles;
                     right = drag->transformAt(15, 18);
                     left = drag->transformAt(-1, 0);
                 },
                 test::point(15, 18)});
    ads_point p{};
    ASSERT_EQ(acedDragGen(set, "\nTo: ", 0, shiftFromBase, p), RTNORM);
    EXPECT_EQ(p[X], 15);
    EXPECT_EQ(p[Y], 18);
    EXPECT_EQ(dragged, (std::vector<std::uint64_t>{0x46, 0x47}));
    EXPECT_EQ(right, (std::array<double, 6>{1, 0, 5, 0, 1, -2}));
    EXPECT_EQ(left, std::nullopt);
    EXPECT_EQ(host::requestDrag(), nullptr);  // the request is over
    EXPECT_EQ(inputs(), (std::vector<std::string>{"15,18"}));

    source.load({test::act(ActionKind::Escape)});
    EXPECT_EQ(acedDragGen(set, "\nTo: ", 0, shiftFromBase, p), RTCAN);
    ASSERT_EQ(acedSSFree(set), RTNORM);
    EXPECT_EQ(acedSSFree(set), RTERROR);
    EXPECT_EQ(acedDragGen(set, "\nTo: ", 0, shiftFromBase, p), RTERROR);  // a freed set drags nothing
}
