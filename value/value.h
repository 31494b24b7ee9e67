// Script values: numeric matrices, byte strings and file identifiers.
//
// Every value is an NRef with two counts: bindCount (variables bound to it)
// and refCount (NRefPtr references to it). An object is destroyed exactly when,
// after a decrement of either count, both are 0. Values live on the
// interpreter thread only, so the counts are plain integers.
//
// Numbers are always matrices of complex doubles stored row by row: element
// (r, c) is data[r * cols + c]. A scalar is a 1x1 matrix; its element lives
// inside the object, so the common case costs one (pooled) allocation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/free_list_pool.h"

struct Complex {
    double re;
    double im;
};

enum class NKind : std::uint8_t { Ref, Num, String, FileID };

class NRef {
public:
    std::int32_t bindCount = 0;
    std::int32_t refCount = 0;
    const NKind kind;

    NRef() : kind(NKind::Ref) {}
    NRef(const NRef&) = delete;
    NRef& operator=(const NRef&) = delete;
    virtual ~NRef();
    // A copy of this value, or null for the base class.
    virtual NRef* clone() const;
    virtual std::string typeName() const;

protected:
    explicit NRef(NKind k) : kind(k) {}
};

// Destroys a value whose counts are both 0.
void destroyValue(NRef* p);

// Counted release of either kind; destroys the object when both counts are 0.
inline void releaseRef(NRef* p) {
    if (--p->refCount == 0 && p->bindCount == 0) destroyValue(p);
}
inline void unbindRef(NRef* p) {
    if (--p->bindCount == 0 && p->refCount == 0) destroyValue(p);
}

class NNum final : public NRef {
public:
    std::int32_t cols;
    std::int32_t rows;
    Complex* data;

    // (columns, rows), every element 0 + 0i. A request whose size cannot be
    // allocated raises a run-time error instead of ending the process.
    NNum(std::int32_t cols, std::int32_t rows);
    // Same shape, elements left uninitialised (for results about to be filled).
    struct Uninit {};
    NNum(std::int32_t cols, std::int32_t rows, Uninit);
    // The 1x1 number z (needs no size checks).
    explicit NNum(Complex z) : NRef(NKind::Num), cols(1), rows(1), data(&inline_), inline_(z) {}
    ~NNum() override {
        if (data != &inline_) releaseLarge();
    }

    NRef* clone() const override;
    std::string typeName() const override;

    std::size_t count() const { return static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows); }
    Complex& at(std::int32_t r, std::int32_t c) { return data[static_cast<std::size_t>(r) * cols + c]; }
    const Complex& at(std::int32_t r, std::int32_t c) const { return data[static_cast<std::size_t>(r) * cols + c]; }

    // Every number object has the same size, and nearly all are scalars:
    // freed objects are reused, enough for any burst of temporaries.
    using Pool = FreeListPool<NNum, std::size_t{1} << 16>;
    static void* operator new(std::size_t size) { return Pool::allocate(size); }
    static void operator delete(void* p, std::size_t size) { Pool::release(p, size); }

private:
    void allocate(bool zero);
    void releaseLarge();
    Complex inline_;  // storage of a matrix with at most one element
};

class NString final : public NRef {
public:
    std::string text;  // any bytes, NUL included

    NString() : NRef(NKind::String) {}
    explicit NString(std::string t) : NRef(NKind::String), text(std::move(t)) {}
    NRef* clone() const override;
    std::string typeName() const override;
};

class NFileID final : public NRef {
public:
    std::int32_t fileNo;

    explicit NFileID(std::int32_t n) : NRef(NKind::FileID), fileNo(n) {}
    NRef* clone() const override;
    std::string typeName() const override;
};

// The counted reference through which values are passed.
class NRefPtr {
public:
    NRefPtr() = default;
    NRefPtr(std::nullptr_t) {}
    NRefPtr(NRef* p) : p_(p) {
        if (p_) ++p_->refCount;
    }
    NRefPtr(const NRefPtr& o) : p_(o.p_) {
        if (p_) ++p_->refCount;
    }
    NRefPtr(NRefPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    ~NRefPtr() {
        if (p_) releaseRef(p_);
    }
    NRefPtr& operator=(const NRefPtr& o) {
        if (o.p_) ++o.p_->refCount;
        NRef* old = p_;
        p_ = o.p_;
        if (old) releaseRef(old);
        return *this;
    }
    NRefPtr& operator=(NRefPtr&& o) noexcept {
        if (this != &o) {
            NRef* old = p_;
            p_ = o.p_;
            o.p_ = nullptr;
            if (old) releaseRef(old);
        }
        return *this;
    }
    void reset() {
        NRef* old = p_;
        p_ = nullptr;
        if (old) releaseRef(old);
    }
    NRef* get() const { return p_; }
    NRef* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    NRef* p_ = nullptr;
};

// Type tests: the target as that class, or null (a null reference is of no class).
inline NNum* asNum(const NRefPtr& v) {
    return v && v->kind == NKind::Num ? static_cast<NNum*>(v.get()) : nullptr;
}
inline NString* asString(const NRefPtr& v) {
    return v && v->kind == NKind::String ? static_cast<NString*>(v.get()) : nullptr;
}
inline NFileID* asFileID(const NRefPtr& v) {
    return v && v->kind == NKind::FileID ? static_cast<NFileID*>(v.get()) : nullptr;
}

// Convenience constructors.
inline NRefPtr makeNum(Complex z) { return NRefPtr(new NNum(z)); }
inline NRefPtr makeNum(double x) { return makeNum(Complex{x, 0.0}); }
inline NRefPtr makeNum(int n) { return makeNum(Complex{static_cast<double>(n), 0.0}); }
inline NRefPtr makeNum(double re, double im) { return makeNum(Complex{re, im}); }
NRefPtr makeString(std::string text);
NRefPtr makeString(std::string_view a, std::string_view b);  // a followed by b

// The value to bind when v becomes a variable's value: v itself when no
// variable holds it, otherwise a copy.
NRefPtr takeForBinding(const NRefPtr& v);

// Text forms.
std::string elementText(const char* format, Complex z);
std::string matrixText(const char* format, const NNum& m);
std::string displayForm(const NString& s);
