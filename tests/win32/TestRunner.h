#pragma once

// A small self-contained test runner for the Windows layer's tests, which run under Wine where
// GoogleTest is not built for mingw. Each test is a function registered by QB_TEST; a failed check
// ends its test. The run prints one line per failure and closes with "N passed, N failed".

#include <sstream>
#include <string>
#include <vector>

namespace quillbox::win32::test {

struct TTestCase
{
    const char* Group;
    const char* Name;
    void (*Run)();
};

std::vector<TTestCase>& Tests();

struct TRegistrar
{
    TRegistrar(const char* group, const char* name, void (*run)()) { Tests().push_back({group, name, run}); }
};

// Raised by a failed check; carries where and what.
struct TFailure
{
    std::string Message;
};

// Names the case of a table that the checks below it run for, as GoogleTest's SCOPED_TRACE does.
class TTrace
{
public:
    explicit TTrace(std::string label);
    TTrace(const TTrace&) = delete;
    TTrace& operator=(const TTrace&) = delete;
    ~TTrace();
};

[[noreturn]] void Fail(const char* file, int line, const std::string& what);

template <class T>
std::string Show(const T& value)
{
    std::ostringstream out;
    if constexpr (std::is_same_v<T, std::string>)
        out << '"' << value << '"';
    else if constexpr (std::is_enum_v<T>)
        out << static_cast<long long>(value);
    else
        out << value;
    return out.str();
}

} // namespace quillbox::win32::test

#define QB_TEST(group, name)                                                                                           \
    static void group##_##name();                                                                                      \
    static const ::quillbox::win32::test::TRegistrar group##_##name##_registrar(#group, #name, &group##_##name);       \
    static void group##_##name()

#define QB_CHECK(condition)                                                                                            \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            ::quillbox::win32::test::Fail(__FILE__, __LINE__, "expected " #condition);                                 \
    } while (false)

#define QB_CHECK_EQ(actual, expected)                                                                                  \
    do {                                                                                                               \
        const auto& qbActual = (actual);                                                                               \
        const auto& qbExpected = (expected);                                                                           \
        if (!(qbActual == qbExpected))                                                                                 \
            ::quillbox::win32::test::Fail(__FILE__, __LINE__,                                                          \
                                          #actual " is " + ::quillbox::win32::test::Show(qbActual) + ", expected " +   \
                                              ::quillbox::win32::test::Show(qbExpected));                              \
    } while (false)

// Runs `statement` and checks that it raises `type`; the exception is then in `caught`.
#define QB_CHECK_THROWS(type, statement, caught)                                                                       \
    do {                                                                                                               \
        bool qbThrown = false;                                                                                         \
        try {                                                                                                          \
            statement;                                                                                                 \
        } catch (const type& e) {                                                                                      \
            qbThrown = true;                                                                                           \
            caught = e;                                                                                                \
        }                                                                                                              \
        if (!qbThrown)                                                                                                 \
            ::quillbox::win32::test::Fail(__FILE__, __LINE__, "expected " #statement " to raise " #type);              \
    } while (false)
