#include "platform/win32/Win32Fonts.h"

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Dpi.h"

#include <algorithm>
#include <cwchar>
#include <map>
#include <vector>

namespace quillbox::win32 {

namespace {

const std::vector<std::string> KGothic = {"MS PGothic", "MS UI Gothic", "Meiryo UI",  "Yu Gothic UI",
                                          "IPAPGothic", "IPAGothic",    "VL PGothic", "Noto Sans CJK JP"};
const std::vector<std::string> KMincho = {"MS Mincho", "MS PMincho", "Yu Mincho", "IPAMincho", "IPAPMincho"};
const std::vector<std::string> KSerif = {"Century Schoolbook", "Times New Roman", "Liberation Serif", "DejaVu Serif"};

std::vector<std::string> StandIns(const std::string& name)
{
    if (name == "ＭＳ Ｐゴシック" || name == "ＭＳ ゴシック" || name == "ＭＳ ＵＩゴシック")
        return KGothic;
    if (name == "ＭＳ 明朝" || name == "ＭＳ Ｐ明朝") {
        std::vector<std::string> faces = KMincho;
        faces.insert(faces.end(), KGothic.begin(), KGothic.end());
        return faces;
    }
    // The About box's display faces, Algerian and Century, are Western serif faces.
    if (name == "Algerian" || name == "Century")
        return KSerif;
    return KGothic;
}

int CALLBACK FoundFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool Installed(const std::wstring& face)
{
    if (face.empty() || face.size() >= LF_FACESIZE)
        return false;
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    std::wmemcpy(query.lfFaceName, face.c_str(), face.size() + 1);
    bool found = false;
    const TWindowDC screen(nullptr);
    ::EnumFontFamiliesExW(screen.Get(), &query, &FoundFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

bool IsSerif(const std::string& name)
{
    return name == "ＭＳ 明朝" || name == "ＭＳ Ｐ明朝" || name == "Algerian" || name == "Century";
}

TUniqueFont CreateFace(const TFontDesc& font, UINT dpi, const std::wstring& face)
{
    LOGFONTW logFont{};
    // A negative height asks for that character height, without the internal leading.
    logFont.lfHeight = -ScaleToDpi(font.Height, dpi);
    logFont.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = font.Italic ? TRUE : FALSE;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = DEFAULT_QUALITY;
    logFont.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    std::wmemcpy(logFont.lfFaceName, face.c_str(), std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
    return TUniqueFont(::CreateFontIndirectW(&logFont));
}

bool Covers(HFONT font, std::wstring_view text)
{
    if (text.empty() || font == nullptr)
        return true;
    const TWindowDC screen(nullptr);
    const TSelectObject selected(screen.Get(), font);
    std::vector<WORD> glyphs(text.size());
    if (::GetGlyphIndicesW(screen.Get(), text.data(), static_cast<int>(text.size()), glyphs.data(),
                           GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
        return true;
    return std::find(glyphs.begin(), glyphs.end(), 0xFFFF) == glyphs.end();
}

std::wstring MessageFace()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return metrics.lfMessageFont.lfFaceName;
    return L"MS Shell Dlg 2";
}

} // namespace

std::wstring ResolveFontFace(const std::string& name)
{
    // Enumerating fonts is slow and the installed set does not change while a form is drawn.
    static std::map<std::string, std::wstring> resolved;
    if (const auto it = resolved.find(name); it != resolved.end())
        return it->second;
    std::wstring face = Utf8ToWide(name);
    if (!Installed(face)) {
        face = MessageFace();
        for (const std::string& standIn : StandIns(name)) {
            if (Installed(Utf8ToWide(standIn))) {
                face = Utf8ToWide(standIn);
                break;
            }
        }
    }
    resolved.emplace(name, face);
    return face;
}

TUniqueFont CreateFormFont(const TFontDesc& font, UINT dpi, std::wstring_view text)
{
    TUniqueFont created = CreateFace(font, dpi, ResolveFontFace(font.Name));
    if (Covers(created.Get(), text))
        return created;
    std::vector<std::string> japanese = IsSerif(font.Name) ? KMincho : std::vector<std::string>{};
    japanese.insert(japanese.end(), KGothic.begin(), KGothic.end());
    for (const std::string& standIn : japanese) {
        const std::wstring face = Utf8ToWide(standIn);
        if (!Installed(face))
            continue;
        TUniqueFont covering = CreateFace(font, dpi, face);
        if (Covers(covering.Get(), text))
            return covering;
    }
    return created;
}

} // namespace quillbox::win32
