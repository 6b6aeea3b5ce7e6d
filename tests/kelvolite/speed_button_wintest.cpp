// TPSpeedButton on a bare form: group logic, hover, drag-off, keys, faces.
#include "kelvolite/controls/speed_button.h"

#include "shell_fixture.h"

namespace {

class SpeedButtonTest : public MainFormTest {
protected:
  void SetUp() override {
    MainFormTest::SetUp();
    form = std::make_unique<TForm>(nullptr, "TSpeedButtonTestForm");
    form->SetClientSize(400, 200);
    app_->SetMainForm(form.get());
    int left = 10;
    for (TPSpeedButton* b : {&a, &b, &c}) {
      b->SetBounds(left, 10, 60, 30);
      b->SetFlat(true);
      b->SetImageIndexes(1, 2, 3);
      b->SetImageIndexDisabled(4);
      b->OnClick = [this](TObject* s) { clicks.push_back(static_cast<TPSpeedButton*>(s)); };
      b->OnMouseEnter = [this](TObject*) { ++enters; };
      b->OnMouseLeave = [this](TObject*) { ++leaves; };
      b->SetParent(form.get());
      left += 80;
    }
    form->Show();
    Pump();
  }
  void TearDown() override {
    form.reset();
    MainFormTest::TearDown();
  }

  std::unique_ptr<TForm> form;
  TPSpeedButton a, b, c;
  std::vector<TPSpeedButton*> clicks;
  int enters = 0, leaves = 0;
};

TEST_F(SpeedButtonTest, ExclusiveGroupKeepsExactlyOneDown) {
  for (TPSpeedButton* x : {&a, &b}) x->SetGroupIndex(1);
  a.SetDown(true);
  ClickControl(a);  // a down button of the group cannot be raised by itself
  EXPECT_TRUE(a.Down());
  EXPECT_EQ(bsExclusive, a.State());
  ClickControl(b);
  EXPECT_TRUE(b.Down());
  EXPECT_FALSE(a.Down());
  EXPECT_EQ(3, b.FaceImageIndex());
  EXPECT_EQ(1, a.FaceImageIndex());
  EXPECT_EQ((std::vector<TPSpeedButton*>{&a, &b}), clicks);
  // Down is not held outside a group.
  c.SetDown(true);
  EXPECT_FALSE(c.Down());
}

TEST_F(SpeedButtonTest, HoverShowsTheUpPictureAndReportsEnterAndLeaveOnce) {
  MoveMouseTo(a, 5, 5);
  MoveMouseTo(a, 6, 6);
  EXPECT_EQ(2, a.FaceImageIndex());
  EXPECT_EQ(1, enters);
  MoveMouseTo(*form, 390, 190);
  EXPECT_EQ(1, a.FaceImageIndex());
  EXPECT_EQ(1, leaves);
  // A click keeps the hover until the pointer goes: one more pair, no more.
  ClickControl(a);
  EXPECT_EQ(2, a.FaceImageIndex());
  MoveMouseTo(*form, 390, 190);
  EXPECT_EQ(1, a.FaceImageIndex());
  EXPECT_EQ(2, enters);
  EXPECT_EQ(2, leaves);
}

TEST_F(SpeedButtonTest, ReleasingOutsideDoesNotClick) {
  MoveMouseTo(a, 5, 5);
  PressMouse(a, 5, 5);
  EXPECT_EQ(3, a.FaceImageIndex());
  MoveMouseTo(a, 200, 150);
  EXPECT_EQ(bsUp, a.State());
  ReleaseMouse(a, 200, 150);
  EXPECT_TRUE(clicks.empty());
  EXPECT_EQ(1, a.FaceImageIndex());
  EXPECT_EQ(1, leaves);
}

TEST_F(SpeedButtonTest, EnterAndEscClickTheFirstDefaultAndCancelButtonOnly) {
  b.SetCancel(true);
  c.SetCancel(true);
  a.SetDefault(true);
  PressKey(form->Handle(), VK_ESCAPE);
  EXPECT_EQ(std::vector<TPSpeedButton*>{&b}, clicks);
  PressKey(form->Handle(), VK_RETURN);
  EXPECT_EQ((std::vector<TPSpeedButton*>{&b, &a}), clicks);
  // A hidden or disabled button does not take the key.
  b.SetVisible(false);
  PressKey(form->Handle(), VK_ESCAPE);
  EXPECT_EQ(&c, clicks.back());
  c.SetEnabled(false);
  clicks.clear();
  PressKey(form->Handle(), VK_ESCAPE);
  EXPECT_TRUE(clicks.empty());
}

TEST_F(SpeedButtonTest, DisabledButtonShowsItsPictureAndIgnoresTheMouse) {
  a.SetEnabled(false);
  EXPECT_EQ(4, a.FaceImageIndex());
  ClickControl(a);
  EXPECT_TRUE(clicks.empty());
  EXPECT_FALSE(a.MouseInControl());
  EXPECT_EQ(4, a.FaceImageIndex());
  a.SetImageIndexDisabled(-1);
  EXPECT_EQ(-1, a.FaceImageIndex());
}

TEST_F(SpeedButtonTest, AcceleratorClicksTheButton) {
  c.SetCaption("E&xit");
  PostMessageA(form->Handle(), WM_SYSCHAR, 'x', 0);
  Pump();
  EXPECT_EQ(std::vector<TPSpeedButton*>{&c}, clicks);
}

}  // namespace
