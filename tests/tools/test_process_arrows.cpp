// Process arrows: one tip angle, gapless chains in every direction, and pentagon headers,
// on command-bar and ribbon hosts.
#include <algorithm>
#include <cmath>
#include <random>

#include "autoshape_fixture.h"

namespace {

using testing_tools::AutoShapeFixture;

class ProcessArrows : public AutoShapeFixture {};

TEST_F(ProcessArrows, OlderHostsKeepTheTipAngleWithEachArrowsOwnSize) {
    start("11.0");
    auto other = add(host::msoShapePentagon, 0, 0, 200, 50);
    auto master = add(host::msoShapeChevron, 0, 100, 100, 50);
    master->Adjustments().setItem(1, 0.75f);  // tip 25, angle 45 degrees
    select({other, master});
    tools.alignAngles();
    EXPECT_FLOAT_EQ(adj(other, 1), 0.875f);
    master->Adjustments().setItem(1, 1.0f);  // no tip at all
    tools.alignAngles();
    EXPECT_FLOAT_EQ(adj(other, 1), 1.0f);
}

TEST_F(ProcessArrows, RibbonHostsCopyTheValueAndOtherHostsLeaveIt) {
    start("14.0");
    auto other = add(host::msoShapePentagon, 0, 0, 200, 80);
    auto master = add(host::msoShapePentagon, 0, 100, 100, 50);
    master->Adjustments().setItem(1, 0.3f);
    select({other, master});
    tools.alignAngles();
    EXPECT_FLOAT_EQ(adj(other, 1), 0.3f);

    start("15.0");
    other = add(host::msoShapePentagon, 0, 0, 200, 80);
    master = add(host::msoShapePentagon, 0, 100, 100, 50);
    master->Adjustments().setItem(1, 0.3f);
    select({other, master});
    tools.alignAngles();
    EXPECT_FLOAT_EQ(adj(other, 1), 0.5f);
    select({other, add(host::msoShapeRectangle, 0, 0, 5, 5)});
    tools.alignAngles();
    select({master});  // one arrow has nothing to align with
    tools.alignAngles();
    EXPECT_EQ(messages(), (std::vector<std::string>(2, "Please select two or more process arrows first.")));
}

TEST_F(ProcessArrows, ThreeArrowsRightwardsReachIntoTheNext) {
    start("14.0");
    auto a = add(host::msoShapeChevron, 0, 10, 100, 40);
    auto b = add(host::msoShapeChevron, 150, 30, 100, 60);
    auto m = add(host::msoShapeChevron, 300, 0, 80, 50);  // tip 0.5 x 50 = 25
    select({b, a, m});
    tools.processChain();
    EXPECT_FLOAT_EQ(a->Width(), 175);
    EXPECT_FLOAT_EQ(b->Width(), 175);
    EXPECT_FLOAT_EQ(m->Width(), 80);
    for (const auto& s : {a, b, m}) {
        EXPECT_FLOAT_EQ(s->Top(), 0);
        EXPECT_FLOAT_EQ(s->Height(), 50);
        EXPECT_FLOAT_EQ(adj(s, 1), 0.5f);
    }
}

// Chains of 2, 3 and 5 arrows pointing right, down, left and up, selected out of order and
// of different lengths: each arrow's tip reaches the common tip length into the next one.
class Chains : public ProcessArrows, public ::testing::WithParamInterface<std::tuple<std::string, int, float>> {};

TEST_P(Chains, EveryDirectionGivesAGaplessChain) {
    const auto& [version, count, rotation] = GetParam();
    start(version);
    const int q = static_cast<int>(rotation) / 90;
    std::vector<std::shared_ptr<host::Shape>> arrows;
    // Laid out along the arrows' direction 15 points apart, overlapping, each shorter than the
    // one before by 40: a turned arrow's frame lies 20 points further back than the next
    // one's, so frame tops put turned arrows in the opposite order of their visible tops.
    for (int i = 0; i < count; ++i) {
        const float length = 140.0f - 40.0f * static_cast<float>((i * 7) % 3);
        const float along = 15.0f * static_cast<float>(i);
        auto s = add(host::msoShapePentagon, 0, 0, length, 40, rotation);
        // Put the visible box's leading corner at `along` on the axis of the chain.
        if (q == 0 || q == 2) tools.setLeft(*s, q == 0 ? along : 2000 - along - length);
        else tools.setTop(*s, q == 1 ? along : 2000 - along - length);
        arrows.push_back(s);
    }
    const double t = version == "11.0" ? 0.25 * arrows.back()->Width() : 0.5 * 40;  // the defaults
    std::vector<std::shared_ptr<host::Shape>> selection = arrows;
    std::reverse(selection.begin(), selection.end() - 1);  // out of order, the master stays last
    select(selection);
    tools.processChain();
    EXPECT_TRUE(reportedLocations().empty());
    for (int i = 0; i + 1 < count; ++i) {
        auto& s = *arrows[static_cast<std::size_t>(i)];
        auto& n = *arrows[static_cast<std::size_t>(i + 1)];
        const double sl = tools.getLeft(s).number(), st = tools.getTop(s).number();
        const double sw = tools.getWidth(s).number(), sh = tools.getHeight(s).number();
        const double nl = tools.getLeft(n).number(), nt = tools.getTop(n).number();
        const double nw = tools.getWidth(n).number(), nh = tools.getHeight(n).number();
        switch (q) {
            case 0: EXPECT_NEAR(sl + sw, nl + t, 1e-3) << i; break;
            case 1: EXPECT_NEAR(st + sh, nt + t, 1e-3) << i; break;
            case 2: EXPECT_NEAR(sl, nl + nw - t, 1e-3) << i; break;
            default: EXPECT_NEAR(st, nt + nh - t, 1e-3) << i; break;
        }
        EXPECT_GT(s.Width(), 0) << i;
        EXPECT_FLOAT_EQ(s.Height(), 40) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, Chains,
                         ::testing::Combine(::testing::Values("11.0", "14.0"), ::testing::Values(2, 3, 5),
                                            ::testing::Values(0.0f, 90.0f, 180.0f, 270.0f)));

// Arrows turned downwards are chained in the order of their visible tops, whatever their
// frames say: a long arrow starting higher has its frame lower than a short one below it.
TEST_F(ProcessArrows, TurnedArrowsChainByTheirVisibleTops) {
    start("14.0");
    auto longer = add(host::msoShapeChevron, 0, 0, 200, 40, 90);
    auto shorter = add(host::msoShapeChevron, 0, 0, 40, 40, 90);
    tools.setTop(*longer, 0);    // frame top 80
    tools.setTop(*shorter, 50);  // frame top 50
    select({shorter, longer});
    tools.processChain();
    EXPECT_NEAR(tools.getHeight(*longer).number(), 70, 1e-4);  // 50 - 0 + tip 20
    EXPECT_NEAR(tools.getTop(*longer).number(), 0, 1e-4);
    EXPECT_FLOAT_EQ(shorter->Width(), 40);
}

class PentagonHeaders : public ProcessArrows, public ::testing::WithParamInterface<std::string> {
protected:
    // A pentagon 200 x 100 at (100, 100) with its tip 50 long (on ribbon hosts a fraction of
    // the height, as the chain and the host's drawing take it), and a header box over its
    // top 40 points, turned and flipped to show that the command straightens it.
    void build() {
        start(GetParam());
        pentagon = add(host::msoShapePentagon, 100, 100, 200, 100);
        pentagon->Adjustments().setItem(1, GetParam() == "11.0" ? 0.75f : 0.5f);
        header = slide->Shapes().AddPolyline({{90, 90}, {250, 90}, {250, 140}, {90, 140}, {90, 90}});
        header->setRotation(3);
        header->Flip(1);
    }
    std::vector<std::pair<float, float>> nodes() {
        std::vector<std::pair<float, float>> points;
        for (int i = 1; i <= header->Nodes().Count(); ++i) points.push_back(header->Nodes().Item(i).Points());
        return points;
    }
    std::shared_ptr<host::Shape> pentagon, header;
};

TEST_P(PentagonHeaders, TheHeaderFollowsTheSlantedTip) {
    build();
    select({header, pentagon});
    tools.adjustPentagonHeader();
    // yb = 140, inset = (1 - 2 x 40 / 100) x 50 = 10.
    std::vector<std::pair<float, float>> expected = {{100, 100}, {250, 100}, {290, 140}, {100, 140}};
    if (GetParam() == "14.0") expected.push_back({100, 100});
    EXPECT_EQ(nodes(), expected);
    EXPECT_EQ(header->Rotation(), 0);
    EXPECT_EQ(header->VerticalFlip(), host::msoFalse);
}

TEST_P(PentagonHeaders, AFlippedPentagonHasItsTipOnTheLeft) {
    build();
    pentagon->Flip(0);
    select({pentagon, header});
    tools.adjustPentagonHeader();
    std::vector<std::pair<float, float>> expected = {{150, 100}, {300, 100}, {300, 140}, {110, 140}};
    if (GetParam() == "14.0") expected.push_back({150, 100});
    EXPECT_EQ(nodes(), expected);
    // Turned half round and flipped back, the tip points right again; a header down to the
    // middle reaches the tip point itself.
    pentagon->setRotation(180);
    header->Nodes().SetPosition(3, 250, 150);
    tools.adjustPentagonHeader();
    EXPECT_EQ(nodes()[2], (std::pair<float, float>{300, 150}));
}

TEST_P(PentagonHeaders, WrongPairsAndTurnedPentagonsChangeNothing) {
    build();
    const auto before = nodes();
    pentagon->setRotation(90);
    select({pentagon, header});
    tools.adjustPentagonHeader();
    pentagon->setRotation(0);
    auto rectangle = add(host::msoShapeRectangle, 0, 0, 10, 10);
    select({pentagon, rectangle});
    tools.adjustPentagonHeader();
    // A box of the other family's node count does not qualify.
    auto other = slide->Shapes().AddPolyline(
        GetParam() == "11.0" ? std::vector<std::pair<float, float>>{{0, 0}, {5, 0}, {5, 5}, {0, 5}, {1, 1}}
                             : std::vector<std::pair<float, float>>{{0, 0}, {5, 0}, {5, 5}, {0, 5}});
    select({other, pentagon});
    tools.adjustPentagonHeader();
    select({pentagon});
    tools.adjustPentagonHeader();
    const std::string nothing =
        "Nothing appropriate is currently selected.\r\nPlease select the pentagon (block arrow) and the corresponding "
        "header box.";
    EXPECT_EQ(messages(), (std::vector<std::string>{"The pentagon needs to be in an upright position.", nothing,
                                                    nothing, nothing}));
    EXPECT_EQ(nodes(), before);
    EXPECT_TRUE(reportedLocations().empty());
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, PentagonHeaders, ::testing::Values("11.0", "14.0"));

}  // namespace
