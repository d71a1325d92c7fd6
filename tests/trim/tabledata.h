#pragma once

#include <QTest>

#include <type_traits>

// The current row's value in a column, usable inside an expression (QFETCH declares a variable).
template <typename T> T cell(const char* column) {
    return *static_cast<T*>(QTest::qData(column, qMetaTypeId<std::remove_cv_t<T>>()));
}
