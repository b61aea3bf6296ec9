#include "TestRunner.h"

#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Icons.h"
#include "resources/Icons.h"

namespace quillbox::win32::test {

namespace {

// An .ico file's header and directory for images of the given widths (square), each image 40
// bytes of nothing, laid out one after another.
std::string IconFile(const std::vector<int>& widths)
{
    std::string file = {0, 0, 1, 0, static_cast<char>(widths.size()), 0};
    const std::size_t imageSize = 40;
    std::size_t offset = 6 + 16 * widths.size();
    for (const int width : widths) {
        const char w = static_cast<char>(width == 256 ? 0 : width);
        file += std::string{w, w, 0, 0, 1, 0, 4, 0};
        for (const std::size_t value : {imageSize, offset})
            for (int i = 0; i < 4; ++i)
                file.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        offset += imageSize;
    }
    return file + std::string(imageSize * widths.size(), '\0');
}

} // namespace

QB_TEST(Win32Icons, PicksTheImageToDraw)
{
    const struct
    {
        const char* Name;
        std::vector<int> Widths;
        int Wanted;
        int Picked;
    } cases[] = {
        {"the only image", {32}, 32, 32},
        {"the exact size among others", {16, 32, 48}, 32, 32},
        {"the smallest larger one", {16, 48, 64}, 32, 48},
        {"else the largest", {16, 24}, 32, 24},
        {"a width byte of 0 means 256", {16, 256}, 128, 256},
    };
    for (const auto& c : cases) {
        const TTrace trace(c.Name);
        const auto entry = PickIconEntry(IconFile(c.Widths), c.Wanted);
        QB_CHECK(entry.has_value());
        QB_CHECK_EQ(entry->Width, c.Picked);
    }
}

QB_TEST(Win32Icons, RefusesBytesThatAreNoIconFile)
{
    std::string pointsOutside = IconFile({32});
    pointsOutside.resize(pointsOutside.size() - 1);
    const struct
    {
        const char* Name;
        std::string Bytes;
    } cases[] = {
        {"empty", ""},
        {"a cursor file", std::string{0, 0, 2, 0, 1, 0} + IconFile({32}).substr(6)},
        {"no images", std::string{0, 0, 1, 0, 0, 0}},
        {"a directory longer than the file", std::string{0, 0, 1, 0, 3, 0} + std::string(16, '\0')},
        {"an image reaching past the end", pointsOutside},
    };
    for (const auto& c : cases) {
        const TTrace trace(c.Name);
        QB_CHECK(!PickIconEntry(c.Bytes, 32).has_value());
        QB_CHECK(CreateIconFromFile(c.Bytes, 32) == nullptr);
    }
}

QB_TEST(Win32Icons, MakesIconHandlesFromTheProgramsIcons)
{
    TWin32Icons icons;
    for (const std::string_view image : {resources::MainIcon(), resources::PromptIcon(), resources::AboutIcon()}) {
        const THandle icon = icons.CreateIconFromImage(std::string(image));
        QB_CHECK(icon != 0);
        ICONINFO info{};
        QB_CHECK(::GetIconInfo(ToHicon(icon), &info));
        BITMAP mask{};
        ::GetObjectW(info.hbmMask, sizeof mask, &mask);
        QB_CHECK_EQ(mask.bmWidth, static_cast<LONG>(::GetSystemMetrics(SM_CXICON)));
        ::DeleteObject(info.hbmMask);
        ::DeleteObject(info.hbmColor);
        icons.DestroyIcon(icon);
    }
}

} // namespace quillbox::win32::test
