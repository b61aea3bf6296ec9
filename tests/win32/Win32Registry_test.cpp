#include "TestRunner.h"

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Registry.h"
#include "settings/RegIniFile.h"

namespace quillbox::win32::test {

namespace {

// A product key of the test's own under HKEY_CURRENT_USER\Software, deleted afterwards.
class TTestKey
{
public:
    TTestKey() : FPath("Software\\QuillboxTest-" + std::to_string(::GetCurrentProcessId()))
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, FPath.c_str());
    }
    TTestKey(const TTestKey&) = delete;
    TTestKey& operator=(const TTestKey&) = delete;
    ~TTestKey() { ::RegDeleteTreeA(HKEY_CURRENT_USER, FPath.c_str()); }

    const std::string& Path() const { return FPath; }
    std::string StorePath() const { return "\\" + FPath; }

    // Sets a value of a section key the way another program (regedit, reg add) would.
    void Put(const std::string& section, const std::string& name, DWORD type, const std::string& data) const
    {
        HKEY key = nullptr;
        QB_CHECK(::RegCreateKeyExA(HKEY_CURRENT_USER, (FPath + "\\" + section).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                   nullptr, &key, nullptr) == ERROR_SUCCESS);
        const TUniqueKey owned(key);
        QB_CHECK(::RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                  static_cast<DWORD>(data.size())) == ERROR_SUCCESS);
    }

    bool Exists(const std::string& subKey) const
    {
        HKEY key = nullptr;
        const std::string path = subKey.empty() ? FPath : FPath + "\\" + subKey;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        ::RegCloseKey(key);
        return true;
    }

private:
    std::string FPath;
};

std::string Dword(DWORD value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

} // namespace

QB_TEST(Win32Registry, StoreReadsWhatOtherProgramsWrote)
{
    const struct
    {
        const char* Name;
        DWORD Type;
        std::string Data;
        std::int32_t Expected;
    } cases[] = {
        {"decimal text", REG_SZ, "3", 3},
        {"text with its terminating zero", REG_SZ, std::string("3\0", 2), 3},
        {"leading blanks", REG_SZ, "  3", 3},
        {"a blank after the digit", REG_SZ, "3 ", 7},
        {"hexadecimal with 0x", REG_SZ, "0x1F", 31},
        {"an expandable string, not expanded", REG_EXPAND_SZ, "2", 2},
        {"a zero byte inside", REG_SZ, std::string("2\0xx", 4), 2},
        {"empty string", REG_SZ, "", 7},
        {"empty data of another type", REG_BINARY, "", 7},
        {"out of range", REG_SZ, "2147483648", 7},
    };
    TWin32Registry registry;
    for (const auto& c : cases) {
        const TTrace trace(c.Name);
        const TTestKey key;
        key.Put("Directory", "DNumber", c.Type, c.Data);
        TRegIniFile store(registry, key.StorePath());
        QB_CHECK_EQ(store.ReadInteger("Directory", "DNumber", 7), c.Expected);
    }
}

QB_TEST(Win32Registry, StoreRefusesANumberTypedValue)
{
    TWin32Registry registry;
    const TTestKey key;
    key.Put("Directory", "DNumber", REG_DWORD, Dword(1));
    TRegIniFile store(registry, key.StorePath());
    ERegistryException caught("");
    QB_CHECK_THROWS(ERegistryException, store.ReadInteger("Directory", "DNumber", 0), caught);
    QB_CHECK_EQ(caught.Message(), std::string("'DNumber' のﾃﾞｰﾀ型が不正です"));
}

QB_TEST(Win32Registry, ReadingLeavesTheProductKeyAloneWithoutSections)
{
    TWin32Registry registry;
    const TTestKey key;
    {
        TRegIniFile store(registry, key.StorePath());
        QB_CHECK_EQ(store.ReadInteger("Directory", "DNumber", 0), 0);
        QB_CHECK_EQ(store.ReadInteger("File", "FNumber", 0), 0);
    }
    QB_CHECK(key.Exists(""));
    QB_CHECK(!key.Exists("Directory"));
    QB_CHECK(!key.Exists("File"));
}

QB_TEST(Win32Registry, WritesDecimalTextAsAString)
{
    TWin32Registry registry;
    const TTestKey key;
    {
        TRegIniFile store(registry, key.StorePath());
        store.WriteInteger("Directory", "DNumber", 0);
        store.WriteInteger("File", "FNumber", -12);
    }
    const struct
    {
        const char* Section;
        const char* Name;
        std::string Expected;
    } cases[] = {{"Directory", "DNumber", "0"}, {"File", "FNumber", "-12"}};
    for (const auto& c : cases) {
        const TTrace trace(c.Name);
        // Read back as stored, in UTF-16. Wine's RegSetValueExA (8.0) adds a terminating zero that it was
        // not given, so only the text before the first zero is compared.
        HKEY section = nullptr;
        QB_CHECK(::RegOpenKeyExW(HKEY_CURRENT_USER, Utf8ToWide(key.Path() + "\\" + c.Section).c_str(), 0, KEY_READ,
                                 &section) == ERROR_SUCCESS);
        const TUniqueKey owned(section);
        wchar_t data[16] = {};
        DWORD size = sizeof data;
        DWORD type = REG_NONE;
        QB_CHECK(::RegQueryValueExW(section, Utf8ToWide(c.Name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data),
                                    &size) == ERROR_SUCCESS);
        QB_CHECK_EQ(type, static_cast<DWORD>(REG_SZ));
        QB_CHECK(std::wstring(data, size / sizeof(wchar_t)).c_str() == Utf8ToWide(c.Expected));
        TRegIniFile store(registry, key.StorePath());
        QB_CHECK_EQ(store.ReadInteger(c.Section, c.Name, 99), std::stoi(c.Expected));
    }
}

QB_TEST(Win32Registry, PassesTheRegistrysStatusCodesOn)
{
    TWin32Registry registry;
    const TTestKey key;
    key.Put("File", "FNumber", REG_SZ, "12345");
    TRegKey product = 0;
    QB_CHECK_EQ(registry.OpenKey(registry.CurrentUser(), key.Path(), product), regstatus::Success);
    TRegKey missing = 0;
    QB_CHECK_EQ(registry.OpenKey(product, "Directory", missing), regstatus::FileNotFound);
    TRegKey file = 0;
    QB_CHECK_EQ(registry.OpenKey(product, "File", file), regstatus::Success);

    TRegType type = TRegType::None;
    std::size_t size = 0;
    QB_CHECK_EQ(registry.QueryValue(file, "Missing", type, nullptr, size), regstatus::FileNotFound);
    QB_CHECK_EQ(registry.QueryValue(file, "FNumber", type, nullptr, size), regstatus::Success);
    QB_CHECK_EQ(type, TRegType::Sz);
    QB_CHECK(size >= 5);
    // A value grown since its size was learnt: the store raises "'%s' の取得に失敗しました" on this.
    std::string data;
    std::size_t tooSmall = 2;
    QB_CHECK_EQ(registry.QueryValue(file, "FNumber", type, &data, tooSmall), regstatus::MoreData);
    QB_CHECK(tooSmall >= 5);
    QB_CHECK_EQ(registry.QueryValue(file, "FNumber", type, &data, size), regstatus::Success);
    QB_CHECK_EQ(data.substr(0, 5), std::string("12345"));

    QB_CHECK_EQ(registry.CloseKey(file), regstatus::Success);
    QB_CHECK_EQ(registry.CloseKey(product), regstatus::Success);
}

} // namespace quillbox::win32::test
