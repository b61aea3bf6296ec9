// A capture with typed names over any names and answers: nothing is ever written under a path other
// than one that was tested and found to fit, and a file that existed is only replaced after OK.
#include "app/ClipSaving.h"
#include "platform/Exceptions.h"

#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace quillbox;

// A registry holding FNumber 1 and nothing else.
class TTypedNamesRegistry final : public IRegistry
{
public:
    TRegKey CurrentUser() const override { return 1; }
    long CreateKey(TRegKey, const std::string&, TRegKey& result) override
    {
        result = 2;
        return regstatus::Success;
    }
    long OpenKey(TRegKey, const std::string& subKey, TRegKey& result) override
    {
        result = subKey == "File" ? 3 : 4;
        return regstatus::Success;
    }
    long QueryValue(TRegKey key, const std::string&, TRegType& type, std::string* data, std::size_t& size) override
    {
        if (key != 3)
            return regstatus::FileNotFound;
        type = TRegType::Sz;
        size = 1;
        if (data != nullptr)
            *data = "1";
        return regstatus::Success;
    }
    long SetValue(TRegKey, const std::string&, TRegType, const std::string&) override
    {
        return regstatus::AccessDenied;
    }
    long CloseKey(TRegKey) override { return regstatus::Success; }
};

class TClipboardNone final : public IClipboard
{
public:
    bool HasText() override { return true; }
    bool DoNotRecord() override { return false; }
    std::string GetText() override { return "clip"; }
};

class TClock final : public IClock
{
public:
    TLocalDateTime Now() override { return {1998, 3, 4}; }
};

// Files in memory, with a short path limit, that remember every path tested.
class TMemoryFiles final : public IFileSystem
{
public:
    std::map<std::string, std::string> Files;
    std::set<std::string> Directories{"/base", "/base/980304/sub"};
    std::set<std::string> Fitting;
    std::set<std::string> Confirmed;

    char PathDelimiter() const override { return '/'; }
    bool PathFits(const std::string& path) const override
    {
        const bool fits = path.size() <= 40;
        if (fits)
            const_cast<TMemoryFiles*>(this)->Fitting.insert(path);
        return fits;
    }
    bool DirectoryExists(const std::string& path) override { return Directories.count(Absolute(path)) != 0; }
    void CreateDirectory(const std::string& path) override { Directories.insert(Absolute(path)); }
    std::string CurrentDirectory() override { return "/base"; }
    bool FileExists(const std::string& path) override { return Files.count(path) != 0; }
    std::unique_ptr<IClipFile> OpenForWriting(const std::string& path, TCreateMode mode) override;

private:
    static std::string Absolute(const std::string& path) { return path.front() == '/' ? path : "/base/" + path; }
};

class TMemoryFile final : public IClipFile
{
public:
    explicit TMemoryFile(std::string& target) : FTarget(target) {}
    void Write(std::string_view bytes) override { FTarget.append(bytes); }
    void Close() override {}

private:
    std::string& FTarget;
};

std::unique_ptr<IClipFile> TMemoryFiles::OpenForWriting(const std::string& path, TCreateMode mode)
{
    if (!Fitting.count(path))
        std::abort(); // written under a path nobody tested
    const bool exists = Files.count(path) != 0 || Directories.count(path) != 0;
    if (mode == TCreateMode::CreateNew && exists)
        return nullptr;
    if (mode == TCreateMode::CreateAlways && exists && !Confirmed.count(path))
        std::abort(); // replaced without the user's OK
    const auto slash = path.rfind('/');
    if (!Directories.count(path.substr(0, slash)))
        throw EInOutError(oscode::PathNotFound);
    auto& content = Files[path];
    content.clear();
    return std::make_unique<TMemoryFile>(content);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The input is the names typed, one per line, and after a NUL byte the answers (odd bytes: OK).
    const std::string input(reinterpret_cast<const char*>(data), size);
    const auto split = input.find('\0');
    std::vector<std::string> names;
    std::string rest = input.substr(0, split);
    for (std::size_t at; (at = rest.find('\n')) != std::string::npos; rest.erase(0, at + 1))
        names.push_back(rest.substr(0, at));
    names.push_back(rest);
    const std::string answers = split == std::string::npos ? std::string() : input.substr(split + 1);

    TTypedNamesRegistry registry;
    TClipboardNone clipboard;
    TClock clock;
    TMemoryFiles files;
    files.Files["/base/980304/memo.txt"] = "old";
    std::size_t nextName = 0;
    std::size_t nextAnswer = 0;
    std::string lastPath;
    const TCaptureServices services{clipboard,
                                    registry,
                                    clock,
                                    files,
                                    [&] { return nextName < names.size() ? names[nextName++] : std::string(); },
                                    [&](const std::string&) {
                                        const bool ok = nextAnswer < answers.size() && (answers[nextAnswer++] & 1);
                                        if (ok)
                                            files.Confirmed.insert("/base/980304/" + names[nextName - 1] + ".txt");
                                        return ok;
                                    }};
    try {
        SaveClip(services, "clip");
    } catch (const EInOutError&) {
    }
    return 0;
}
