#include "app/CaptureQueue.h"

#include "platform/Exceptions.h"

#include "CaptureFixture.h"

namespace quillbox::test {
namespace {

using namespace std::string_literals;
using TNames = std::vector<std::string>;

class CaptureQueueTest : public CaptureTest
{
protected:
    // A copy in another program: the clipboard changes and the notification arrives.
    void Copy(const std::string& text)
    {
        FClipboard.SetText(text);
        FQueue.ClipChange();
    }

    std::vector<std::string> FReports;
    TCaptureQueue FQueue{Services(), [this](const std::exception& e) { FReports.push_back(e.what()); }};
};

TEST_F(CaptureQueueTest, ClipboardWithoutTextLeavesNoTrace)
{
    FClipboard.SetNoText();
    FQueue.ClipChange();
    EXPECT_EQ(FRegistry.KeyCount(), 0u) << "the registry was touched";
    EXPECT_TRUE(List().empty());
    EXPECT_EQ(FClipboard.GetTextCalls(), 0);
}

TEST_F(CaptureQueueTest, CopyMarkedNotToBeRecordedLeavesNoTrace)
{
    // Nothing is stored: a read of the settings would leave the product key behind.
    FClipboard.SetSecret("hunter2");
    FQueue.ClipChange();
    EXPECT_EQ(FRegistry.KeyCount(), 0u) << "the settings were read";
    EXPECT_TRUE(List().empty());
    EXPECT_EQ(FClipboard.GetTextCalls(), 0) << "the secret was read";

    FClipboard.SetText("plain");
    FQueue.ClipChange();
    EXPECT_EQ(Clip("980304/1.txt"), "plain");
}

TEST_F(CaptureQueueTest, SavesTheClipboardTextUpToItsFirstZeroByte)
{
    Copy("before\0after"s);
    Copy("");
    EXPECT_EQ(Clip("980304/1.txt"), "before");
    EXPECT_EQ(Clip("980304/2.txt"), "");
}

TEST_F(CaptureQueueTest, EachFileHoldsTheTextThatCausedIt)
{
    SetStyles(0, 1);
    // The clipboard changes again while the user types, without a notification reaching us yet.
    OnPrompt = [this](int showing) {
        if (showing == 1)
            FClipboard.SetText("newer");
    };
    Type({"first"});
    Copy("older");
    EXPECT_EQ(Clip("980304/first.txt"), "older");
}

TEST_F(CaptureQueueTest, CopiesDuringThePromptAreQueuedAndPromptedInOrder)
{
    SetStyles(0, 1);
    OnPrompt = [this](int showing) {
        if (showing == 1) {
            Copy("second");
            Copy("third");
            EXPECT_EQ(FQueue.Pending(), 2u);
        }
        if (showing == 2)
            Copy("fourth");
    };
    Type({"a", "b", "", "d"});
    Copy("first");
    EXPECT_EQ(FPrompts, 4);
    EXPECT_EQ(Clip("980304/a.txt"), "first");
    EXPECT_EQ(Clip("980304/b.txt"), "second");
    EXPECT_EQ(Clip("980304/1.txt"), "third");
    EXPECT_EQ(Clip("980304/d.txt"), "fourth");
    EXPECT_EQ(FQueue.Pending(), 0u);
    EXPECT_TRUE(FReports.empty());
}

TEST_F(CaptureQueueTest, CopyDuringTheConfirmationIsSavedAtOnce)
{
    SetStyles(0, 1);
    ASSERT_EQ(::mkdir("980304", 0777), 0);
    WriteFile("980304/taken.txt", "old");
    OnConfirm = [this] {
        Copy("nested");
        EXPECT_EQ(Clip("980304/inner.txt"), "nested") << "the nested clip waited";
    };
    Type({"taken", "inner"});
    Answer({true});
    Copy("outer");
    EXPECT_EQ(Clip("980304/taken.txt"), "outer");
}

TEST_F(CaptureQueueTest, QueuedClipsStayInOrderWhenOneIsCopiedDuringAQueuedConfirmation)
{
    SetStyles(0, 1);
    ASSERT_EQ(::mkdir("980304", 0777), 0);
    WriteFile("980304/taken.txt", "old");
    OnPrompt = [this](int showing) {
        if (showing == 1) {
            Copy("second");
            Copy("third");
        }
    };
    OnConfirm = [this] { Copy("fourth"); };
    Type({"a", "taken", "c", "d"});
    Answer({true});
    Copy("first");
    EXPECT_EQ(Clip("980304/a.txt"), "first");
    EXPECT_EQ(Clip("980304/taken.txt"), "second");
    EXPECT_EQ(Clip("980304/c.txt"), "third");
    EXPECT_EQ(Clip("980304/d.txt"), "fourth");
}

TEST_F(CaptureQueueTest, ErrorsAreReportedAndTheNextCopyIsSaved)
{
    FFiles.FailCreateDirectory(5);
    Copy("lost");
    EXPECT_EQ(FReports, TNames{"ﾌｧｲﾙへのｱｸｾｽが拒否されました"});
    Copy("kept");
    EXPECT_EQ(Clip("980304/1.txt"), "kept");
}

TEST_F(CaptureQueueTest, FailingQueuedClipDoesNotStopTheOnesBehindIt)
{
    SetStyles(0, 1);
    OnPrompt = [this](int showing) {
        if (showing == 1) {
            Copy("second");
            Copy("third");
        }
    };
    Type({"a", "missing/b", "c"});
    Copy("first");
    EXPECT_EQ(FReports, TNames{"不正なﾌｧｲﾙ名です"});
    EXPECT_EQ(List("980304"), (TNames{"a.txt", "c.txt"}));
    EXPECT_EQ(Clip("980304/c.txt"), "third");
}

} // namespace
} // namespace quillbox::test
