// SPDX-License-Identifier: MIT
// C handles closed exactly once, on every way out.
#pragma once

#include <memory>

template<auto fn>
struct DeleterFromFn {
    template<typename T>
    void operator()(T *handle) const
    {
        fn(handle);
    }
};

template<typename T, auto fn>
using UniqueHandle = std::unique_ptr<T, DeleterFromFn<fn>>;

/// A file descriptor, closed exactly once.
class UniqueFd
{
public:
    explicit UniqueFd(int fd = -1) noexcept
        : m_fd(fd)
    {
    }
    ~UniqueFd() { reset(); }
    UniqueFd(UniqueFd &&other) noexcept
        : m_fd(other.release())
    {
    }
    UniqueFd &operator=(UniqueFd &&other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueFd(const UniqueFd &) = delete;
    UniqueFd &operator=(const UniqueFd &) = delete;

    int get() const noexcept { return m_fd; }
    int release() noexcept
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void reset(int fd = -1) noexcept;
    explicit operator bool() const noexcept { return m_fd >= 0; }

private:
    int m_fd;
};
