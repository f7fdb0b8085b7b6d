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
