#include "components/VxClipDetector.h"

#include "platform/Exceptions.h"
#include "platform/ScopeExit.h"

#include "fake/FakePlatform.h"

#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

namespace quillbox::test {
namespace {

// A detector owned by a form-like owner, with a handler that counts its calls.
class VxClipDetectorTest : public ::testing::Test
{
protected:
    void Changed(TObject* sender)
    {
        ++FChanges;
        FLastSender = sender;
        if (FRaise)
            throw std::runtime_error("handler failed");
    }
    TNotifyEvent Handler() { return TNotifyEvent::Of<&VxClipDetectorTest::Changed>(this); }

    TFakePlatform FPlatform;
    TFakeWindows& FWindows = FPlatform.FakeWindows;
    TComponent FOwner{nullptr};
    TVxClipDetector* FDetector = new TVxClipDetector(&FOwner);
    int FChanges = 0;
    TObject* FLastSender = nullptr;
    bool FRaise = false;
};

TEST_F(VxClipDetectorTest, NewDetectorIsDetached)
{
    EXPECT_TRUE(FDetector->IgnoreFirst());
    EXPECT_EQ(FDetector->Handle(), 0u);
    const auto windows = FWindows.WindowCount();
    delete FDetector;
    EXPECT_EQ(FWindows.WindowCount(), windows);
    EXPECT_EQ(FWindows.Head(), 0u);
}

TEST_F(VxClipDetectorTest, JoiningNotificationFollowsIgnoreFirst)
{
    for (const bool ignoreFirst : {true, false}) {
        SCOPED_TRACE(ignoreFirst);
        FChanges = 0;
        FDetector->SetIgnoreFirst(ignoreFirst);
        FDetector->SetOnClipChange(Handler());
        EXPECT_EQ(FChanges, ignoreFirst ? 0 : 1);
        EXPECT_NE(FDetector->Handle(), 0u);
        EXPECT_EQ(FWindows.Head(), FDetector->Handle());
        FDetector->SetOnClipChange({});
        EXPECT_EQ(FDetector->Handle(), 0u);
        EXPECT_FALSE(FDetector->OnClipChange().Assigned());
    }
}

TEST_F(VxClipDetectorTest, FiresThenForwardsWithZeroParameters)
{
    TFakeViewer before(FWindows);
    before.Join();
    FDetector->SetOnClipChange(Handler());
    EXPECT_EQ(before.Draws, 1) << "the joining notification is not forwarded on a first join";
    EXPECT_EQ(FDetector->NextViewer(), before.Handle());

    before.Received.clear();
    FWindows.SendMessage(FDetector->Handle(), wm::WM_DRAWCLIPBOARD, 7, 9);
    EXPECT_EQ(FChanges, 1);
    EXPECT_EQ(FLastSender, FDetector);
    ASSERT_EQ(before.Received.size(), 1u);
    EXPECT_EQ(before.Received[0].WParam, 0u);
    EXPECT_EQ(before.Received[0].LParam, 0u);
}

TEST_F(VxClipDetectorTest, HandlerSeesTheChangeBeforeTheNextViewer)
{
    TFakeViewer before(FWindows);
    before.Join();
    int drawsSeenByHandler = -1;
    struct TProbe
    {
        TFakeViewer* Viewer;
        int* Seen;
        void Changed(TObject*) { *Seen = Viewer->Draws; }
    } probe{&before, &drawsSeenByHandler};
    FDetector->SetOnClipChange(TNotifyEvent::Of<&TProbe::Changed>(&probe));
    FWindows.ClipboardChanged();
    EXPECT_EQ(drawsSeenByHandler, 1);
    EXPECT_EQ(before.Draws, 2);
}

TEST_F(VxClipDetectorTest, ReplacingTheHandlerDoesNotRejoin)
{
    FDetector->SetOnClipChange(Handler());
    const THandle wnd = FDetector->Handle();
    const auto windows = FWindows.WindowCount();
    struct TOther
    {
        int Calls = 0;
        void Changed(TObject*) { ++Calls; }
    } other;
    FDetector->SetOnClipChange(TNotifyEvent::Of<&TOther::Changed>(&other));
    EXPECT_EQ(FDetector->Handle(), wnd);
    EXPECT_EQ(FWindows.WindowCount(), windows);
    EXPECT_EQ(other.Calls, 0);
    FWindows.ClipboardChanged();
    EXPECT_EQ(other.Calls, 1);
    EXPECT_EQ(FChanges, 0);
}

TEST_F(VxClipDetectorTest, NullCodeClearsWhateverTheObjectPart)
{
    TNotifyEvent objectOnly;
    objectOnly.Data = this;
    FDetector->SetOnClipChange(objectOnly);
    EXPECT_EQ(FDetector->Handle(), 0u) << "an object part alone is no handler";

    FDetector->SetOnClipChange(Handler());
    FDetector->SetOnClipChange(objectOnly);
    EXPECT_EQ(FDetector->Handle(), 0u);
    EXPECT_EQ(FWindows.Head(), 0u);
    FWindows.ClipboardChanged();
    EXPECT_EQ(FChanges, 0);
}

TEST_F(VxClipDetectorTest, RepairsTheChainWhenTheNextViewerLeaves)
{
    TFakeViewer last(FWindows);
    TFakeViewer middle(FWindows);
    last.Join();
    middle.Join();
    FDetector->SetOnClipChange(Handler());
    ASSERT_EQ(FDetector->NextViewer(), middle.Handle());

    middle.Leave();
    EXPECT_EQ(FDetector->NextViewer(), last.Handle());
    FWindows.ClipboardChanged();
    EXPECT_EQ(last.Draws, 2);

    last.Leave();
    EXPECT_EQ(FDetector->NextViewer(), 0u);
    FWindows.ClipboardChanged();
    EXPECT_EQ(FChanges, 2);
    EXPECT_EQ(last.Draws, 2);
}

TEST_F(VxClipDetectorTest, ForwardsOtherChainChangesAndReturnsTheAnswer)
{
    TFakeViewer next(FWindows);
    next.Join();
    FDetector->SetOnClipChange(Handler());
    const std::uint32_t result = FWindows.SendMessage(FDetector->Handle(), wm::WM_CHANGECBCHAIN, 0x999, 0x998);
    EXPECT_EQ(FDetector->NextViewer(), next.Handle());
    ASSERT_FALSE(next.Received.empty());
    EXPECT_EQ(next.Received.back().Msg, wm::WM_CHANGECBCHAIN);
    EXPECT_EQ(next.Received.back().WParam, 0x999u);
    EXPECT_EQ(next.Received.back().LParam, 0x998u);
    EXPECT_EQ(result, 0u);

    // The answer is the next viewer's, whatever it is.
    struct TAnswering
    {
        void WndProc(TMessage& m) { m.Result = 42; }
    } answering;
    const THandle answerer = FWindows.AllocateHWnd(TWndMethod::Of<&TAnswering::WndProc>(&answering));
    FWindows.SendMessage(FDetector->Handle(), wm::WM_CHANGECBCHAIN, next.Handle(), answerer);
    EXPECT_EQ(FWindows.SendMessage(FDetector->Handle(), wm::WM_CHANGECBCHAIN, 0x999, 0), 42u);
}

TEST_F(VxClipDetectorTest, VanishedNextViewerSimplyReceivesNothing)
{
    TFakeViewer next(FWindows);
    next.Join();
    FDetector->SetOnClipChange(Handler());
    next.Vanish();
    FWindows.ClipboardChanged();
    EXPECT_EQ(FChanges, 1);
}

TEST_F(VxClipDetectorTest, LeavingOnDestructionKeepsTheRestOfTheChain)
{
    TFakeViewer next(FWindows);
    next.Join();
    FDetector->SetOnClipChange(Handler());
    TFakeViewer head(FWindows);
    head.Join();
    delete FDetector;
    EXPECT_EQ(head.Next(), next.Handle());
    FWindows.ClipboardChanged();
    EXPECT_EQ(next.Draws, 2);
}

TEST_F(VxClipDetectorTest, RaisingHandlerStopsOnlyThatForward)
{
    TFakeViewer next(FWindows);
    next.Join();
    FDetector->SetOnClipChange(Handler());
    static int reported = 0;
    reported = 0;
    SetMessageExceptionHandler([](const std::exception&) { ++reported; });
    const TScopeExit restore([]() noexcept { SetMessageExceptionHandler(nullptr); });
    FRaise = true;
    FWindows.ClipboardChanged();
    EXPECT_EQ(reported, 1) << "the error did not reach the window's error handler";
    EXPECT_EQ(next.Draws, 1);
    EXPECT_EQ(FDetector->NextViewer(), next.Handle());
    FRaise = false;
    FWindows.ClipboardChanged();
    EXPECT_EQ(next.Draws, 2);
}

TEST_F(VxClipDetectorTest, RejoiningIgnoresTheJoiningNotificationAgain)
{
    FDetector->SetOnClipChange(Handler());
    FDetector->SetOnClipChange({});
    FDetector->SetOnClipChange(Handler());
    EXPECT_EQ(FChanges, 0);
    FWindows.ClipboardChanged();
    EXPECT_EQ(FChanges, 1);
}

TEST_F(VxClipDetectorTest, OtherMessagesGoToTheDefaultProcedure)
{
    FDetector->SetOnClipChange(Handler());
    FWindows.DefResult = 77;
    EXPECT_EQ(FWindows.SendMessage(FDetector->Handle(), wm::WM_QUERYENDSESSION, 0, 0), 77u);
    ASSERT_EQ(FWindows.DefCalls.size(), 1u);
    EXPECT_EQ(FWindows.DefCalls[0].Wnd, FDetector->Handle());
}

TEST_F(VxClipDetectorTest, AllocationFailureRaisesAndStaysDetached)
{
    FWindows.FailNextAllocation();
    try {
        FDetector->SetOnClipChange(Handler());
        FAIL() << "no error";
    } catch (const EOutOfResources& e) {
        EXPECT_STREQ(e.what(), "TVxClipDetector.SetOnClipChange: Cannot Allocate HWnd");
    }
    EXPECT_EQ(FDetector->Handle(), 0u);
    EXPECT_FALSE(FDetector->OnClipChange().Assigned());
    EXPECT_EQ(FWindows.Head(), 0u);
    FDetector->SetOnClipChange(Handler());
    EXPECT_NE(FDetector->Handle(), 0u);
}

TEST_F(VxClipDetectorTest, DesigningOnlyStoresTheHandler)
{
    FOwner.SetDesigning(true);
    const auto windows = FWindows.WindowCount();
    FDetector->SetOnClipChange(Handler());
    EXPECT_TRUE(FDetector->OnClipChange().Assigned());
    EXPECT_EQ(FDetector->Handle(), 0u);
    EXPECT_EQ(FWindows.WindowCount(), windows);
}

} // namespace
} // namespace quillbox::test
