#pragma once

// Helpers of the tests that run the built tallyra-cli.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace clitest {

// The published lines as "count|raw|value|error".
inline QStringList lines(const QByteArray& out) {
    QStringList result;
    for (const QByteArray& l : out.split('\n')) {
        if (l.isEmpty())
            continue;
        const QJsonObject o = QJsonDocument::fromJson(l).object();
        EXPECT_EQ(o.size(), 5) << l.toStdString();
        result << QStringLiteral("%1|%2|%3|%4")
                      .arg(o.value("count").toInt())
                      .arg(o.value("raw").toString(), o.value("value").toString(),
                           o.value("error").toBool() ? "E" : "-");
    }
    return result;
}

} // namespace clitest
