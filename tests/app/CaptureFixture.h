#pragma once

#include "app/ClipSaving.h"
#include "platform/posix/PosixFileSystem.h"

#include "fake/FakeClipboard.h"
#include "fake/FakeClock.h"
#include "fake/FakeRegistry.h"
#include "fake/FaultyFileSystem.h"
#include "fake/TempDir.h"

#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quillbox::test {

// A capture's world: a fresh current directory, a clock on Wednesday 1998-03-04, an empty registry,
// and a user who answers the prompt and the confirmation from scripts.
class CaptureTest : public ::testing::Test
{
protected:
    void SetStyles(int dnumber, int fnumber)
    {
        FRegistry.Put("Software\\Quillbox\\Directory", "DNumber", TRegType::Sz, std::to_string(dnumber));
        FRegistry.Put("Software\\Quillbox\\File", "FNumber", TRegType::Sz, std::to_string(fnumber));
    }

    // The user types these names, one per showing of the prompt; OnPrompt runs first at each showing.
    void Type(std::vector<std::string> names) { FNames.assign(names.begin(), names.end()); }
    void Answer(std::vector<bool> answers) { FAnswers.assign(answers.begin(), answers.end()); }

    TCaptureServices Services()
    {
        return {FClipboard,
                FRegistry,
                FClock,
                FFiles,
                [this] {
                    ++FPrompts;
                    if (OnPrompt)
                        OnPrompt(FPrompts);
                    EXPECT_FALSE(FNames.empty()) << "the prompt was shown more often than scripted";
                    if (FNames.empty())
                        return std::string();
                    std::string name = FNames.front();
                    FNames.pop_front();
                    return name;
                },
                [this](const std::string& message) {
                    FQuestions.push_back(message);
                    if (OnConfirm)
                        OnConfirm();
                    EXPECT_FALSE(FAnswers.empty()) << "the confirmation was asked more often than scripted";
                    if (FAnswers.empty())
                        return false;
                    const bool answer = FAnswers.front();
                    FAnswers.pop_front();
                    return answer;
                }};
    }

    std::string Base() const { return FDir.Path(); }
    std::string Clip(const std::string& relative) const { return ReadFile(FDir.Path() + "/" + relative); }
    bool Exists(const std::string& relative) const;
    // The entries of a directory below the base, sorted, directories marked with a trailing "/".
    std::vector<std::string> List(const std::string& relative = "") const;

    TTempDir FDir{true};
    posix::TPosixFileSystem FRealFiles;
    TFaultyFileSystem FFiles{FRealFiles};
    TFakeClipboard FClipboard;
    TFakeRegistry FRegistry;
    TFakeClock FClock;
    std::deque<std::string> FNames;
    std::deque<bool> FAnswers;
    std::vector<std::string> FQuestions;
    int FPrompts = 0;
    std::function<void(int showing)> OnPrompt;
    std::function<void()> OnConfirm;
};

} // namespace quillbox::test
