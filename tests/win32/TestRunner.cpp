#include "TestRunner.h"

#include "platform/win32/WideText.h"

#include <cstdio>
#include <exception>

namespace quillbox::win32::test {

namespace {

std::vector<std::string>& Traces()
{
    static std::vector<std::string> traces;
    return traces;
}

} // namespace

std::vector<TTestCase>& Tests()
{
    static std::vector<TTestCase> tests;
    return tests;
}

TTrace::TTrace(std::string label)
{
    Traces().push_back(std::move(label));
}

TTrace::~TTrace()
{
    Traces().pop_back();
}

void Fail(const char* file, int line, const std::string& what)
{
    std::string message = std::string(file) + ":" + std::to_string(line) + ": " + what;
    for (const std::string& trace : Traces())
        message += "\n    in case: " + trace;
    throw TFailure{message};
}

} // namespace quillbox::win32::test

// Runs every test, or those whose "Group.Name" contains the first argument. The layer is built with
// -municode, so the entry point is the wide one.
int wmain(int argc, wchar_t** argv)
{
    using namespace quillbox::win32::test;
    const std::string filter = argc > 1 ? quillbox::win32::WideToUtf8(argv[1]) : "";
    int passed = 0;
    int failed = 0;
    for (const TTestCase& test : Tests()) {
        const std::string name = std::string(test.Group) + "." + test.Name;
        if (!filter.empty() && name.find(filter) == std::string::npos)
            continue;
        std::string failure;
        try {
            test.Run();
        } catch (const TFailure& f) {
            failure = f.Message;
        } catch (const std::exception& e) {
            failure = std::string("unexpected exception: ") + e.what();
        } catch (...) {
            failure = "unexpected exception";
        }
        if (failure.empty()) {
            ++passed;
            std::printf("[  OK  ] %s\n", name.c_str());
        } else {
            ++failed;
            std::printf("[ FAIL ] %s\n  %s\n", name.c_str(), failure.c_str());
        }
        std::fflush(stdout);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
