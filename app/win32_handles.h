#pragma once

#include <windows.h>

#include <utility>

// Owners for Win32 handles, so that every road out of a function closes what it opened.
template <typename Traits>
class CUniqueResource
{
public:
    using Type = typename Traits::Type;

    CUniqueResource() = default;
    explicit CUniqueResource(Type value) : m_value(value) {}
    CUniqueResource(const CUniqueResource&) = delete;
    CUniqueResource& operator=(const CUniqueResource&) = delete;
    CUniqueResource(CUniqueResource&& other) noexcept : m_value(other.Release()) {}
    CUniqueResource& operator=(CUniqueResource&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    ~CUniqueResource() { Reset(); }

    Type Get() const { return m_value; }
    // For out-parameters of the API call that opens the resource.
    Type* Put()
    {
        Reset();
        return &m_value;
    }
    Type Release() { return std::exchange(m_value, Traits::Invalid()); }
    explicit operator bool() const { return m_value != Traits::Invalid(); }
    void Reset(Type value = Traits::Invalid())
    {
        if (m_value != Traits::Invalid())
            Traits::Close(m_value);
        m_value = value;
    }

private:
    Type m_value = Traits::Invalid();
};

// Process and thread handles: null when empty.
struct CHandleTraits
{
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { CloseHandle(h); }
};

// File handles from CreateFile: INVALID_HANDLE_VALUE when empty.
struct CFileTraits
{
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};

// Searches from FindFirstFile: INVALID_HANDLE_VALUE when empty.
struct CFindTraits
{
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { FindClose(h); }
};

// Buffers the system allocated for us (FormatMessage).
struct CLocalTextTraits
{
    using Type = char*;
    static Type Invalid() { return nullptr; }
    static void Close(Type p) { LocalFree(p); }
};

using CUniqueHandle = CUniqueResource<CHandleTraits>;
using CUniqueFile = CUniqueResource<CFileTraits>;
using CUniqueFind = CUniqueResource<CFindTraits>;
using CUniqueLocalText = CUniqueResource<CLocalTextTraits>;
