#include "CaptureFixture.h"

#include <algorithm>
#include <filesystem>

namespace quillbox::test {

bool CaptureTest::Exists(const std::string& relative) const
{
    return std::filesystem::exists(std::filesystem::symlink_status(FDir.Path() + "/" + relative));
}

std::vector<std::string> CaptureTest::List(const std::string& relative) const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(FDir.Path() + "/" + relative))
        names.push_back(entry.path().filename().string() + (entry.is_directory() ? "/" : ""));
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace quillbox::test
