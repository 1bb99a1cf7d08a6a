// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Problem.h"

#include <optional>
#include <utility>
#include <variant>

// What a core operation gives back: its value, or the Problem that stopped it. Callers test it
// like a pointer, read value() (or *, ->) when it holds one and problem() when it does not.
template <typename T = void>
class [[nodiscard]] Outcome
{
public:
    Outcome(T value) : m_held(std::in_place_index<0>, std::move(value)) {}
    Outcome(Problem problem) : m_held(std::in_place_index<1>, std::move(problem)) {}

    bool ok() const { return m_held.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T& value() const& { return std::get<0>(m_held); }
    T& value() & { return std::get<0>(m_held); }
    T&& value() && { return std::get<0>(std::move(m_held)); }
    const T& operator*() const& { return value(); }
    T& operator*() & { return value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }

    const Problem& problem() const { return std::get<1>(m_held); }
    // The problem's text, or an empty text when there is a value.
    QString problemText() const { return ok() ? QString() : problem().text(); }

private:
    std::variant<T, Problem> m_held;
};

// An operation that gives back nothing but whether it worked.
template <>
class [[nodiscard]] Outcome<void>
{
public:
    Outcome() = default;
    Outcome(Problem problem) : m_problem(std::move(problem)) {}
    Outcome(std::optional<Problem> problem) : m_problem(std::move(problem)) {}
    // Whether `other` worked, its value dropped.
    template <typename U>
    Outcome(const Outcome<U>& other)
        : m_problem(other ? std::nullopt : std::optional<Problem>(other.problem()))
    {
    }

    bool ok() const { return !m_problem; }
    explicit operator bool() const { return ok(); }

    const Problem& problem() const { return *m_problem; }
    QString problemText() const { return ok() ? QString() : m_problem->text(); }

private:
    std::optional<Problem> m_problem;
};
