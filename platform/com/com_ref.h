// Owning holders for the two kinds of reference of com_object.h: Ref<T> holds a public reference
// (AddRef/Release, visible to the caller), PrivateRef<T> a private one (the platform's own hold).
#ifndef VTR3_PLATFORM_COM_COM_REF_H
#define VTR3_PLATFORM_COM_COM_REF_H

#include <utility>

namespace platform::com {

template <typename T, bool Private> class BasicRef {
  public:
    BasicRef() = default;
    explicit BasicRef(T* object) : object_(object) { Acquire(); }
    BasicRef(const BasicRef& other) : object_(other.object_) { Acquire(); }
    BasicRef(BasicRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ~BasicRef() { Reset(); }

    BasicRef& operator=(BasicRef other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }

    void Reset() {
        T* object = std::exchange(object_, nullptr);
        if (object) {
            if constexpr (Private)
                object->ReleasePrivate();
            else
                object->Release();
        }
    }

    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

  private:
    void Acquire() {
        if (object_) {
            if constexpr (Private)
                object_->AddRefPrivate();
            else
                object_->AddRef();
        }
    }

    T* object_ = nullptr;
};

template <typename T> using Ref = BasicRef<T, false>;
template <typename T> using PrivateRef = BasicRef<T, true>;

} // namespace platform::com

#endif
