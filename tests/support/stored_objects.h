#pragma once
// Reading a persistent object from bytes built by hand, and writing one, for
// the tests of stored forms.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "persist/factory.h"
#include "persist/pstream.h"

// The object the bytes hold, null (with a failure) when it is not a T; the
// bytes must be used up.
template <typename T>
std::unique_ptr<T> readAs(const std::vector<uint8_t>& bytes)
{
    register_factories();
    memory_pstream in(bytes);
    std::unique_ptr<persistent> object(read_object(in));
    EXPECT_EQ(in.remaining(), 0u) << "bytes left after the record";
    T* typed = dynamic_cast<T*>(object.get());
    EXPECT_NE(typed, nullptr);
    if (typed)
        object.release();
    return std::unique_ptr<T>(typed);
}

inline std::vector<uint8_t> written(const persistent& object)
{
    memory_pstream out;
    write_object(out, object);
    return out.bytes();
}
