#include "fake/FaultyFileSystem.h"

#include "platform/Exceptions.h"

#include <utility>

namespace quillbox::test {

class TFaultyClipFile final : public IClipFile
{
public:
    TFaultyClipFile(TFaultyFileSystem& owner, std::unique_ptr<IClipFile> real) : FOwner(owner), FReal(std::move(real))
    {
    }

    void Write(std::string_view bytes) override
    {
        if (FOwner.FWriteLimit) {
            const std::size_t limit = std::exchange(FOwner.FWriteLimit, std::nullopt).value();
            if (bytes.size() > limit) {
                FReal->Write(bytes.substr(0, limit));
                throw EInOutError(FOwner.FWriteCode);
            }
        }
        FReal->Write(bytes);
    }

    void Close() override
    {
        ++FOwner.FCloses;
        FReal->Close();
        if (const int code = std::exchange(FOwner.FCloseCode, 0))
            throw EInOutError(code);
    }

private:
    TFaultyFileSystem& FOwner;
    std::unique_ptr<IClipFile> FReal;
};

void TFaultyFileSystem::CreateDirectory(const std::string& path)
{
    if (const int code = std::exchange(FCreateDirectoryCode, 0))
        throw EInOutError(code);
    FReal.CreateDirectory(path);
}

std::unique_ptr<IClipFile> TFaultyFileSystem::OpenForWriting(const std::string& path, TCreateMode mode)
{
    if (BeforeOpen)
        std::exchange(BeforeOpen, nullptr)(path);
    auto real = FReal.OpenForWriting(path, mode);
    if (!real)
        return nullptr;
    ++FOpens;
    return std::make_unique<TFaultyClipFile>(*this, std::move(real));
}

} // namespace quillbox::test
