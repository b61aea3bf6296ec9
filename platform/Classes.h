#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The component model of the class library: objects, method pointers and owned components.

// Root of every object that can be a Sender.
class TObject
{
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

// A method pointer: a code part and an object part. It counts as assigned only when its code part is
// set, whatever its object part holds.
template <class... TArgs>
struct TMethodPointer
{
    using TCode = void (*)(void* object, TArgs... args);

    TCode Code = nullptr;
    void* Data = nullptr;

    bool Assigned() const noexcept { return Code != nullptr; }
    void operator()(TArgs... args) const { Code(Data, args...); }
    bool operator==(const TMethodPointer&) const = default;

    // The method pointer for `object->*Method`.
    template <auto Method, class T>
    static TMethodPointer Of(T* object)
    {
        return {[](void* self, TArgs... args) { (static_cast<T*>(self)->*Method)(args...); }, object};
    }
};

using TNotifyEvent = TMethodPointer<TObject*>;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// The shift state a mouse event carries, as bits.
using TShiftState = std::uint32_t;
namespace shift {
inline constexpr TShiftState ssShift = 1u << 0;
inline constexpr TShiftState ssAlt = 1u << 1;
inline constexpr TShiftState ssCtrl = 1u << 2;
inline constexpr TShiftState ssLeft = 1u << 3;
inline constexpr TShiftState ssRight = 1u << 4;
inline constexpr TShiftState ssMiddle = 1u << 5;
} // namespace shift

using TMouseEvent = TMethodPointer<TObject*, TMouseButton, TShiftState, std::int32_t, std::int32_t>;
using TMouseMoveEvent = TMethodPointer<TObject*, TShiftState, std::int32_t, std::int32_t>;

using TComponentState = std::uint32_t;
namespace cs {
inline constexpr TComponentState csLoading = 1u << 0;
inline constexpr TComponentState csDesigning = 1u << 1;
inline constexpr TComponentState csDestroying = 1u << 2;
} // namespace cs

// A component owned by another: the owner destroys the components it owns, the last made first.
// A component made by an owner in the designing state is designing too.
class TComponent : public TObject
{
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    void SetName(std::string name) { FName = std::move(name); }
    TComponentState ComponentState() const { return FState; }
    bool Designing() const { return (FState & cs::csDesigning) != 0; }
    bool IsLoading() const { return (FState & cs::csLoading) != 0; }

    // The form loader marks a component as loading before it reads its properties, and calls Loaded
    // once all of them have been read.
    void BeginLoading() { FState |= cs::csLoading; }
    virtual void Loaded() { FState &= ~cs::csLoading; }

    // Puts this component and those it owns in or out of the designing state.
    void SetDesigning(bool designing);

    const std::vector<TComponent*>& Components() const { return FComponents; }
    // The owned component of that name, or null.
    TComponent* FindComponent(const std::string& name) const;

private:
    TComponent* FOwner;
    std::string FName;
    TComponentState FState = 0;
    std::vector<TComponent*> FComponents;
};
