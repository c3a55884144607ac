// Command strings: what the viewer link sends and the viewer reads back.
#include "platform/DdeMacro.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

using Commands = QList<DdeMacroCommand>;

TEST(DdeMacroTest, ReadsTheViewerCommands)
{
    EXPECT_EQ(parseDdeMacro(QStringLiteral("[DispMsg(OFF)]")), Commands({{"DispMsg", {"OFF"}}}));
    EXPECT_EQ(parseDdeMacro(QStringLiteral("ExitGV()")), Commands({{"ExitGV", {}}}));
    EXPECT_EQ(parseDdeMacro(QStringLiteral("[FileOpen(\"/p/a b.gif\")] [ShowGV( OFF )]")),
              Commands({{"FileOpen", {"/p/a b.gif"}}, {"ShowGV", {"OFF"}}}));
    EXPECT_EQ(parseDdeMacro(QStringLiteral("[Pos(1, \"x\")]")), Commands({{"Pos", {"1", "x"}}}));
}

TEST(DdeMacroTest, AnyQuotedNameArrivesWholeAsOneArgument)
{
    const QStringList names = {
        QStringLiteral("/tmp/say \"hi\".gif"),
        QStringLiteral("/tmp/x\")][ExitGV()][FileOpen(\"y.gif"),
        QStringLiteral("/tmp/]\"\"\"[(),.webp"),
        QStringLiteral("/tmp/写真\n二行目.gif"),
        QStringLiteral("\""),
        QString(),
    };
    for (const QString& name : names) {
        const auto commands =
            parseDdeMacro(QStringLiteral("[FileOpen(") + ddeQuote(name) + QStringLiteral(")]"));
        ASSERT_TRUE(commands.has_value()) << name.toStdString();
        EXPECT_EQ(*commands, Commands({{"FileOpen", {name}}})) << name.toStdString();
    }
}

TEST(DdeMacroTest, MalformedStringsAreRefusedWhole)
{
    for (const char* bad : {"", "  ", "[FileOpen(\"a)]", "[FileOpen(\"a\"]", "[FileOpen(\"a\")", "FileOpen",
                            "[(OFF)]", "[DispMsg(OFF)] junk", "[A(\"x\"\"y)]", "[A(x\"y\")]", "[A(,)]"})
        EXPECT_FALSE(parseDdeMacro(QString::fromUtf8(bad)).has_value()) << bad;
}

}  // namespace
}  // namespace platform
