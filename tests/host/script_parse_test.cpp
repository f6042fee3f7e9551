// Reading scenario scripts: texts, numbers and every message for a bad line.
#include <gtest/gtest.h>

#include "host/script.h"

namespace {

std::string parse_error(const std::string& text) {
    Script s;
    std::string error;
    bool ok = parse_script(text, "t.flight", ".", &s, &error);
    return ok ? std::string("(parsed)") : error;
}

}  // namespace

TEST(ScriptTokens, WordsTextsEscapesAndComments) {
    std::vector<Token> t;
    std::string error;
    ASSERT_TRUE(tokenize_line("expect text DME 1 2 \"a \\\"b\\\" \\\\ \\xBA\" # comment \"x\"", &t, &error));
    ASSERT_EQ(t.size(), 6u);
    EXPECT_EQ(t[0].text, "expect");
    EXPECT_FALSE(t[0].quoted);
    EXPECT_TRUE(t[5].quoted);
    EXPECT_EQ(t[5].text, std::string("a \"b\" \\ \xBA"));
    t.clear();
    ASSERT_TRUE(tokenize_line("note \"# not a comment\"", &t, &error));
    EXPECT_EQ(t[1].text, "# not a comment");
    t.clear();
    ASSERT_TRUE(tokenize_line("  # only a comment", &t, &error));
    EXPECT_TRUE(t.empty());
}

TEST(ScriptTokens, MalformedTexts) {
    std::vector<Token> t;
    std::string error;
    EXPECT_FALSE(tokenize_line("note \"open", &t, &error));
    EXPECT_NE(error.find("closing quote"), std::string::npos);
    EXPECT_FALSE(tokenize_line("note \"a\\qb\"", &t, &error));
    EXPECT_NE(error.find("unknown escape"), std::string::npos);
    EXPECT_FALSE(tokenize_line("note \"\\xZZ\"", &t, &error));
    EXPECT_FALSE(tokenize_line("note \"a\"b", &t, &error));
    EXPECT_FALSE(tokenize_line("note a\"b\"", &t, &error));
}

TEST(ScriptParse, GoodScriptKeepsLinesAndArguments) {
    Script s;
    std::string error;
    ASSERT_TRUE(parse_script("# header\npanel p.cfg\nfps 30\n\nset 60 0\nramp airspeed 120 10\nrun 1.5\n"
                             "expect event 0x102FC\nexpect events 65580 2\nexpect value Airspeed 1 2 3 >= 4.5\n"
                             "expect text DME 1 2 \"x\"\nexpect ini \"EFIS CP\" selectedDH \"10\"\nkey space\n",
                             "t.flight", "/d", &s, &error))
        << error;
    ASSERT_EQ(s.commands.size(), 11u);
    EXPECT_EQ(s.commands[0].line, 2);
    EXPECT_EQ(s.commands[2].verb, "set");
    EXPECT_EQ(s.commands[2].line, 5);
    EXPECT_EQ(s.commands[3].args[0].text, "airspeed");
    EXPECT_EQ(s.dir, "/d");
}

TEST(ScriptParse, EveryErrorNamesFileLineAndProblem) {
    struct Case {
        const char* script;
        const char* message;
    } cases[] = {
        {"run 1\nfly 3\n", "t.flight:2: unknown command 'fly'"},
        {"run\n", "t.flight:1: expected: run SECONDS"},
        {"run 1 2\n", "t.flight:1: expected: run SECONDS"},
        {"run abc\n", "t.flight:1: 'abc' is not a number"},
        {"run -1\n", "t.flight:1: cannot run negative time"},
        {"run 0x10\n", "t.flight:1: '0x10' is not a number"},
        {"frames 1.5\n", "t.flight:1: '1.5' is not a whole number"},
        {"set 9999 1\n", "t.flight:1: unknown host variable '9999'"},
        {"set nosuchname 1\n", "t.flight:1: unknown host variable 'nosuchname'"},
        {"ramp 61 100\n", "t.flight:1: expected: ramp ID VALUE SECONDS"},
        {"ramp 61 100 -2\n", "t.flight:1: a ramp cannot take negative time"},
        {"release\n", "t.flight:1: expected: release ID|NAME"},
        {"release nosuchname\n", "t.flight:1: unknown host variable 'nosuchname'"},
        {"fps 0\n", "t.flight:1: fps needs a whole number from 1 to 1000"},
        {"run 1\npanel p.cfg\n", "t.flight:2: panel must come before the first action"},
        {"expect var 1 == 1\nini x.ini\n", "t.flight:2: ini must come before the first action"},
        {"click Gear 1\n", "t.flight:1: expected: click GAUGE X Y"},
        {"click Gear 1 y\n", "t.flight:1: 'y' is not a whole number"},
        {"hold Gear 1 2\n", "t.flight:1: expected: hold GAUGE X Y SECONDS"},
        {"key enter\n", "t.flight:1: unknown key 'enter' (only space)"},
        {"kill now\n", "t.flight:1: expected: kill"},
        {"reinstall now\n", "t.flight:1: expected: reinstall"},
        {"send 0xZZ\n", "t.flight:1: '0xZZ' is not an event id (decimal or 0x hex)"},
        {"note plain\n", "t.flight:1: a note is a text in double quotes"},
        {"channel kt93_DH\n", "t.flight:1: expected: channel NAME VALUE"},
        {"channel kt93_Nothing 1\n", "t.flight:1: unknown channel 'kt93_Nothing'"},
        {"channel kt93_DH 2x\n", "t.flight:1: '2x' is not a whole number"},
        {"expect\n", "t.flight:1: expect what?"},
        {"expect colour 1\n", "t.flight:1: unknown expectation 'colour'"},
        {"expect var 1 =< 2\n", "t.flight:1: unknown comparison '=<'"},
        {"expect event 0x1002C x\n", "t.flight:1: 'x' is not a whole number"},
        {"expect no events 0x1002C\n", "t.flight:1: expected: expect no event ID"},
        {"expect channel kt93_Nothing \"1\"\n", "t.flight:1: unknown channel 'kt93_Nothing'"},
        {"expect channel kt93_DH 10\n", "t.flight:1: the channel text must be in double quotes"},
        {"expect ini EPCP batt_switch \"1\"\n", "t.flight:1: section and value must be in double quotes"},
        {"expect sound Switch_Flip loud\n", "t.flight:1: unknown sound state 'loud'"},
        {"expect shown Gear 1\n", "t.flight:1: expected GAUGE X Y [K]"},
        {"expect text Gear 1 2 plain\n", "t.flight:1: the expected text must be in double quotes"},
        {"expect image Gear 1 2 3 4 5\n", "t.flight:1: expected GAUGE X Y [K] and 1 more"},
        {"expect value Gear 1 2 ~ 3\n", "t.flight:1: unknown comparison '~'"},
        {"expect pixel Gear 1 2 3 4\n", "t.flight:1: expected: expect pixel GAUGE X Y R G B"},
        {"note \"unterminated\n", "t.flight:1: text without its closing quote"},
        {"\"text\" first\n", "t.flight:1: a line must start with a command"},
    };
    for (const Case& c : cases) {
        std::string error = parse_error(c.script);
        EXPECT_EQ(error.rfind(c.message, 0), 0u) << "script: " << c.script << "got: " << error;
    }
}
