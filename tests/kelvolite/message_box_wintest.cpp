// The program's message box answered by keys, as the user answers it.
#include "kelvolite/controls/message_box.h"

#include "shell_fixture.h"

namespace {

class MessageBoxTest : public MainFormTest {
protected:
  void SetUp() override {
    MainFormTest::SetUp();
    OpenMainForm();
  }
};

TEST_F(MessageBoxTest, KeysAnswerEachKind) {
  const struct {
    int kind;
    WORD key;
    int result;
  } cases[] = {
      {mbkYesNoCancel, VK_ESCAPE, IDCANCEL}, {mbkYesNoCancel, VK_RETURN, IDYES}, {mbkYesNo, VK_ESCAPE, IDNO},
      {mbkYesNo, VK_RETURN, IDYES},          {mbkOkCancel, VK_ESCAPE, IDCANCEL}, {mbkOkCancel, VK_RETURN, IDOK},
      {mbkOk, VK_RETURN, IDOK},
  };
  for (const auto& c : cases) {
    AnswerNextBox("TfmMessageBox", c.key);
    EXPECT_EQ(c.result, ShowMessageBox(form_.get(), "Question?", "Confirmation", c.kind))
        << "kind " << c.kind << " key " << c.key;
  }
}

TEST_F(MessageBoxTest, ButtonsAreArrangedForTheKind) {
  struct Seen {
    std::vector<std::pair<int, int>> visible;
    std::string caption, text;
  } seen;
  AnswerNextBox("TfmMessageBox", VK_RETURN, [&seen](HWND) {
    for (TPSpeedButton* b : {&fmMessageBox->bbtYes, &fmMessageBox->bbtNo, &fmMessageBox->bbtOk,
                             &fmMessageBox->bbtCancel, &fmMessageBox->bbtYes2, &fmMessageBox->bbtNo2,
                             &fmMessageBox->bbtOk2, &fmMessageBox->bbtCancel2})
      if (b->Visible()) seen.visible.push_back({b->Left(), b->Top()});
    seen.caption = fmMessageBox->Caption();
    seen.text = fmMessageBox->lMessage.Caption();
  });
  ShowMessageBox(form_.get(), "Line one\nline two", "Information", mbkYesNoCancel);
  EXPECT_EQ((std::vector<std::pair<int, int>>{{209, 102}, {11, 102}, {110, 102}}), seen.visible);
  EXPECT_EQ("Information", seen.caption);
  EXPECT_EQ("\n\nLine one\nline two", seen.text);
  EXPECT_EQ(nullptr, fmMessageBox);
}

TEST_F(MessageBoxTest, EscDoesNothingInAnOkBox) {
  // Esc first, then Enter: had Esc closed the box the answer would be 2.
  AnswerNextBox("TfmMessageBox", VK_ESCAPE, [](HWND box) { PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0); });
  EXPECT_EQ(IDOK, ShowMessageBox(form_.get(), "Done.", "Information", mbkOk));
}

TEST_F(MessageBoxTest, ClosingByTheSystemAnswersCancel) {
  AnswerNextBox("TfmMessageBox", 0, [](HWND box) { PostMessageA(box, WM_CLOSE, 0, 0); });
  EXPECT_EQ(IDCANCEL, ShowMessageBox(form_.get(), "Sure?", "Confirm", mbkYesNo));
}

TEST_F(MessageBoxTest, TheMainWindowGetsItsFocusBackWithoutANewActivation) {
  int activations = 0;
  form_->OnActivate = [&activations](TObject*) { ++activations; };
  ASSERT_TRUE(form_->lvUninstall.Focused());
  AnswerNextBox("TfmMessageBox", VK_RETURN);
  ShowMessageBox(form_.get(), "Done.", "Information", mbkOk);
  Pump();
  EXPECT_EQ(0, activations);
  EXPECT_TRUE(IsWindowEnabled(form_->Handle()));
  EXPECT_EQ(form_->Handle(), GetActiveWindow());
  EXPECT_TRUE(form_->lvUninstall.Focused());
}

TEST_F(MessageBoxTest, EscClosesTheAboutBox) {
  AnswerNextBox("TAboutBox", VK_ESCAPE);
  form_->bbtAboutIconClick(form_.get());
  EXPECT_FALSE(FindWindowA("TAboutBox", nullptr));
}

}  // namespace
