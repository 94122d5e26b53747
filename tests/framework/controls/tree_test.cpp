// The control tree: parents, destruction, alignment, anchors, notifications, properties.
#include "framework/typeinfo/class_info.h"
#include "tests/framework/controls/test_controls.h"

TEST_F(ControlsTest, ChildrenListWindowlessFirstAndLeaveWhenDestroyed) {
  TRecordingWindow parent(nullptr);
  auto* w = new TRecordingWindow(&parent);
  w->SetParent(&parent);
  auto* g = new TRecordingGraphic(&parent);
  g->SetParent(&parent);
  ASSERT_EQ(parent.ControlCount(), 2);
  EXPECT_EQ(parent.Controls(0), g);
  EXPECT_EQ(parent.Controls(1), w);
  delete g;
  EXPECT_EQ(parent.ControlCount(), 1);
  EXPECT_THROW(parent.Controls(1), EListError);
  EXPECT_THROW(parent.SetParent(&parent), EInvalidOperation);
  EXPECT_THROW(parent.SetParent(w), EInvalidOperation) << "a window cannot join its own child";
}

TEST_F(ControlsTest, ParentDestroyedBeforeChildrenOwnedElsewhere) {
  TComponent owner(nullptr);
  auto* parent = new TRecordingWindow(&owner);
  auto* child = new TRecordingGraphic(&owner);
  auto* grandchild = new TRecordingWindow(&owner);
  child->SetParent(parent);
  grandchild->SetParent(parent);
  delete parent;
  EXPECT_EQ(child->Parent(), nullptr);
  EXPECT_EQ(grandchild->Parent(), nullptr);
}

TEST_F(ControlsTest, OwnerThatIsAlsoParentFreesItsChildren) {
  auto top = MakeTopLevel();
  auto* panel = AddWindow(top.get(), "Panel", {0, 0, 50, 50}, clRed);
  AddGraphic(panel, "G", {0, 0, 5, 5}, clRed);
  AddWindow(panel, "W", {0, 0, 5, 5}, clRed);
  top.reset();  // the sanitiser build catches any use of a freed parent
  SUCCEED();
}

TEST_F(ControlsTest, AlignmentFillsTopBottomLeftRightThenClient) {
  TRecordingWindow parent(nullptr);
  parent.SetBounds(0, 0, 200, 100);
  auto make = [&](TAlign align, TRect bounds) {
    auto* c = new TRecordingGraphic(&parent);
    c->SetBoundsRect(bounds);
    c->SetAlign(align);
    c->SetParent(&parent);
    return c;
  };
  parent.DisableAlign();
  auto* client = make(alClient, {0, 0, 1, 1});
  auto* top2 = make(alTop, {0, 30, 10, 40});
  auto* top1 = make(alTop, {0, 0, 10, 20});
  auto* bottom = make(alBottom, {0, 0, 10, 15});
  auto* left = make(alLeft, {0, 0, 25, 10});
  auto* right = make(alRight, {0, 0, 30, 10});
  EXPECT_EQ(client->BoundsRect(), (TRect{0, 0, 1, 1})) << "nothing moves while disabled";
  parent.EnableAlign();
  EXPECT_EQ(top1->BoundsRect(), (TRect{0, 0, 200, 20}));
  EXPECT_EQ(top2->BoundsRect(), (TRect{0, 20, 200, 30}));
  EXPECT_EQ(bottom->BoundsRect(), (TRect{0, 85, 200, 100}));
  EXPECT_EQ(left->BoundsRect(), (TRect{0, 30, 25, 85}));
  EXPECT_EQ(right->BoundsRect(), (TRect{170, 30, 200, 85}));
  EXPECT_EQ(client->BoundsRect(), (TRect{25, 30, 170, 85}));
  parent.SetBounds(0, 0, 300, 200);
  EXPECT_EQ(client->BoundsRect(), (TRect{25, 30, 270, 185}));
  top1->SetVisible(false);
  EXPECT_EQ(top2->BoundsRect(), (TRect{0, 0, 300, 10}));
}

TEST_F(ControlsTest, AnchorsKeepDistancesWhenTheParentResizes) {
  TRecordingWindow parent(nullptr);
  parent.SetBounds(0, 0, 200, 100);
  auto make = [&](TAnchors anchors) {
    auto* c = new TRecordingGraphic(&parent);
    c->SetParent(&parent);
    c->SetBounds(50, 40, 20, 10);
    c->SetAnchors(anchors);
    return c;
  };
  auto* fixed = make({akLeft, akTop});
  auto* right = make({akTop, akRight});
  auto* stretch = make({akLeft, akTop, akRight, akBottom});
  auto* floating = make({});
  parent.SetBounds(0, 0, 260, 131);
  parent.SetBounds(0, 0, 261, 132);
  EXPECT_EQ(fixed->BoundsRect(), (TRect{50, 40, 70, 50}));
  EXPECT_EQ(right->BoundsRect(), (TRect{111, 40, 131, 50}));
  EXPECT_EQ(stretch->BoundsRect(), (TRect{50, 40, 131, 82}));
  EXPECT_EQ(floating->BoundsRect(), (TRect{80, 56, 100, 66})) << "centred, without drifting";
}

TEST_F(ControlsTest, ScaleByScalesBoundsAndChildren) {
  TRecordingWindow parent(nullptr);
  parent.SetBounds(10, 20, 100, 50);
  auto* c = new TRecordingGraphic(&parent);
  c->SetParent(&parent);
  c->SetBounds(3, 5, 11, 7);
  parent.ScaleBy(3, 2);
  EXPECT_EQ(parent.BoundsRect(), (TRect{15, 30, 165, 105}));
  EXPECT_EQ(c->BoundsRect(), (TRect{5, 8, 21, 18}));
}

TEST_F(ControlsTest, ColourAndFontFollowTheParentUntilSetOwnValues) {
  TRecordingWindow parent(nullptr);
  parent.SetColor(clSkyBlue);
  parent.Font()->SetName("Verdana");
  auto* c = new TRecordingGraphic(&parent);
  c->SetParent(&parent);
  EXPECT_EQ(c->Color(), clSkyBlue);
  EXPECT_EQ(c->Font()->Name(), "Verdana");
  EXPECT_TRUE(c->ParentFont());
  parent.SetColor(clRed);
  parent.Font()->SetHeight(-13);
  EXPECT_EQ(c->Color(), clRed);
  EXPECT_EQ(c->Font()->Height(), -13);
  c->SetColor(clLime);
  c->Font()->SetHeight(-20);
  EXPECT_FALSE(c->ParentColor());
  EXPECT_FALSE(c->ParentFont());
  parent.SetColor(clNavy);
  parent.Font()->SetHeight(-9);
  EXPECT_EQ(c->Color(), clLime);
  EXPECT_EQ(c->Font()->Height(), -20);
  c->SetParentColor(true);
  EXPECT_EQ(c->Color(), clNavy);
}

TEST_F(ControlsTest, TextChangedNotificationReachesTheControlOnce) {
  TRecordingWindow w(nullptr);
  w.SetCaption("Hello");
  w.SetCaption("Hello");
  EXPECT_EQ(std::count(w.Messages.begin(), w.Messages.end(), ntTextChanged), 1);
  EXPECT_EQ(w.Text(), "Hello");
  constexpr uint32_t kProgramMessage = 9249;  // a program's own number, unknown to the framework
  EXPECT_EQ(w.Perform(kProgramMessage, 1, 2), 0);
  EXPECT_EQ(w.Messages.back(), kProgramMessage);
}

TEST_F(ControlsTest, PublishedPropertiesSetThroughTheClassInfo) {
  TRecordingWindow w(nullptr);
  const TClassInfo& info = TCustomControl::ClassInfo();
  auto set = [&](const char* name, TValue v) {
    const TPropInfo* p = info.FindProperty(name);
    ASSERT_NE(p, nullptr) << name;
    p->Set(w, v);
  };
  set("Left", int64_t(7));
  set("Width", int64_t(40));
  set("Align", int64_t(alClient));
  set("Anchors", int64_t(TAnchors{akRight}.Bits()));
  set("Caption", std::string("Go"));
  set("TabStop", int64_t(1));
  set("Cursor", int64_t(crHandPoint));
  set("Color", int64_t(clAqua));
  EXPECT_EQ(w.Left(), 7);
  EXPECT_EQ(w.Width(), 40);
  EXPECT_EQ(w.Align(), alClient);
  EXPECT_EQ(w.Anchors(), TAnchors{akRight});
  EXPECT_EQ(w.Caption(), "Go");
  EXPECT_TRUE(w.TabStop());
  EXPECT_EQ(w.Cursor(), crHandPoint);
  EXPECT_FALSE(info.FindProperty("Color")->IsStored(w) == w.ParentColor());
  EXPECT_EQ(info.FindProperty("Align")->PropType->EnumName(alClient), "alClient");
  EXPECT_EQ(*info.FindProperty("Visible")->Default, 1);
  EXPECT_NE(info.FindProperty("OnClick"), nullptr);
}

TEST_F(ControlsTest, TabOrderIsThePlaceInTheParentsTabList) {
  TRecordingWindow parent(nullptr);
  auto* a = AddWindow(&parent, "A", {}, clRed);
  auto* b = AddWindow(&parent, "B", {}, clRed);
  auto* c = AddWindow(&parent, "C", {}, clRed);
  EXPECT_EQ(c->TabOrder(), 2);
  c->SetTabOrder(0);
  EXPECT_EQ(c->TabOrder(), 0);
  EXPECT_EQ(a->TabOrder(), 1);
  EXPECT_EQ(b->TabOrder(), 2);
  b->SetTabOrder(99);
  EXPECT_EQ(b->TabOrder(), 2);
}
