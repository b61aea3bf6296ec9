#pragma once

#include <string>

namespace quillbox::test {

// A fresh directory under $TMPDIR (or /tmp), removed with everything in it at destruction. With
// `enter` set it also becomes the current directory for its lifetime.
class TTempDir
{
public:
    explicit TTempDir(bool enter = false);
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    ~TTempDir();

    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
    std::string FPrevious;
};

// Whole-file helpers for assertions.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

} // namespace quillbox::test
