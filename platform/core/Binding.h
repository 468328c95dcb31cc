#pragma once

#include <functional>
#include <utility>

// A two-way binding into one value that lives elsewhere: a getter and a setter.
// Views hold bindings instead of copies, so the value has exactly one owner.
template <typename T>
struct Binding
{
    std::function<T()> get;
    std::function<void(const T &)> set;

    T operator()() const { return get(); }
    void operator=(const T &) = delete;
};

template <typename T>
Binding<T> makeBinding(std::function<T()> get, std::function<void(const T &)> set)
{
    return Binding<T>{std::move(get), std::move(set)};
}
