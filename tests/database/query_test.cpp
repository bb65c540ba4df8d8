// The query language: scanner, parser, symbol tables, values, operators,
// control flow and the facade, through the code the search dialog runs.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "database/core/qxparse.h"
#include "database/query_util.h"
#include "foundation/core/check.h"

namespace {

struct Case {
  const char* what;
  std::string in;
  std::string want;
};

// One token per entry: its number, then its text or error in brackets.
std::string Tokens(QX_DataBase& db, const std::string& text) {
  QX_Scanner s(&db);
  s.Start(text.c_str());
  std::string out;
  for (int guard = 0; guard < 64; ++guard) {
    QX_Token t;
    QX_Error e = s.Scan(t);
    if (!out.empty()) out += ' ';
    out += std::to_string(t.tokID);
    if (e) out += "E" + std::to_string(QX_ErrNumber(e));
    if (t.tokID == 2) {
      char buf[32];
      QX_Utilities::NumToStr(t.number, buf);
      out += std::string("=") + buf;
    } else if (t.tokID == 3 || e) {
      out += "(" + std::string(t.text) + ")";
    }
    if (t.tokID == 0) break;
  }
  return out;
}

TEST(QueryScanner, TokenStreams) {
  QX_DataBase db(512, 1024);
  for (const char* v : {"a", "b", "x", "y"}) ASSERT_EQ(db.AddVariable(v, false, new QX_NumExpr(0), nullptr), nullptr);
  const Case cases[] = {
      {"field compare", "Feld[0]=\"abc\";", "5 34 2=0 35 21 3(abc) 60 0"},
      {"assignment is one token", "a:=b", "16384 64 16384 0"},
      {"colon then equal", "a: =b", "16384 11 21 16384 0"},
      {"two-character comparisons", "x<>y x<=y x>=y x*=y", "16384 22 16384 16384 20 16384 16384 23 16384 16384 25 16384 0"},
      {"=> is two tokens", "x=>y", "16384 21 24 16384 0"},
      {"keywords are case-sensitive", "und UND", "1E15(und) 12 0"},
      {"number out of range", "1e5000", "1E5(1e5000) 0"},
      {"second point", "1.5.2", "2=1.5 1E23(.) 2=2 0"},
      {"escapes in a string", "\"ab\\\"c\"", "3(ab\"c) 0"},
      {"backslash escapes itself", "\"a\\\\b\"", "3(a\\b) 0"},
      {"conversions and a stray character", "#$!", "27 28 1E23(!) 0"},
      {"error run stops at a name", "!?x", "1E23(!) 10 16384 0"},
      {"error run keeps its characters", "!!%~ 1", "1E23(!!%~) 2=1 0"},
      {"empty text", "", "0"},
      {"blank text", " \t\r\n", "0"},
      {"all operators", "#$&()+,-/;=?@[]^{}*:< >",
       "27 28 67 29 30 16 37 15 66 60 21 10 4 34 35 26 31 33 65 11 19 24 0"},
      {"keywords and built-ins", "NICHT ODER solange mache wiederhole bis wenn dann sonst global var log10 log mod tanh",
       "14 13 70 71 72 73 61 62 63 68 69 49 50 51 56 0"},
      {"string without its end", "\"abc", "1E22(abc) 0"},
      {"string ending in a backslash", "\"abc\\", "1E22(abc) 0"},
      {"umlaut begins a name", "\xE4x", "1E15(\xE4x) 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Tokens(db, c.in), c.want);
  }
}

TEST(QueryScanner, LongInputIsRefusedWithoutOverflow) {
  QX_DataBase db(512, 1024);
  const std::string name1022(1022, 'n'), name1023(1023, 'n');
  EXPECT_EQ(Tokens(db, name1022).substr(0, 4), "1E15");
  EXPECT_EQ(Tokens(db, name1023).substr(0, 4), "1E20");
  EXPECT_EQ(Tokens(db, "\"" + std::string(1022, 's') + "\"").substr(0, 2), "3(");
  EXPECT_EQ(Tokens(db, "\"" + std::string(1023, 's') + "\"").substr(0, 4), "1E21");
  EXPECT_EQ(Tokens(db, "\"" + std::string(5000, 's') + "\"").substr(0, 4), "1E21");
  EXPECT_EQ(Tokens(db, std::string(1022, '1')).substr(0, 2), "2=");
  EXPECT_EQ(Tokens(db, std::string(1023, '1')).substr(0, 4), "1E21");
  EXPECT_EQ(Tokens(db, "0." + std::string(3000, '0') + "1").substr(0, 4), "1E21");
}

TEST(QueryScanner, PositionsAndLengths) {
  QX_DataBase db(512, 1024);
  QX_Scanner s(&db);
  const char* text = "  Feld  <=\t\"ab\"";
  s.Start(text);
  QX_Token t;
  const uint32_t want[][3] = {{5, 2, 4}, {20, 8, 2}, {3, 11, 2}, {0, 15, 0}};
  for (const auto& w : want) {
    s.Scan(t);
    EXPECT_EQ(static_cast<uint32_t>(t.tokID), w[0]);
    EXPECT_EQ(t.position, w[1]) << "token " << w[0];
    EXPECT_EQ(t.length, w[2]) << "token " << w[0];
  }
  s.Scan(t);
  EXPECT_EQ(t.tokID, 0) << "the end stays the end";
}

TEST(QueryParser, ExactTreePrint) {
  QueryExpr q;
  ASSERT_EQ(q.Compile("Feld[0] = \"abc\";"), nullptr);
  std::ostringstream os;
  q.Print(os);
  EXPECT_EQ(os.str(),
            "  eq(\n"
            "    field (\n"
            "      num(0)\n"
            "    )\n"
            "    str(\"abc\",0)\n"
            "  )\n");
}

TEST(QueryParser, ExampleParses) {
  const Case cases[] = {
      {"field compare", "Feld[0] = \"abc\";", "eq( field ( num(0) ) str(\"abc\",0) )"},
      {"search and not-equal", "Feld[0]*=\"abc\" UND Feld[0]<>\"abcd\";",
       "and( search( field ( num(0) ) str(\"abc\",0) ) ne( field ( num(0) ) str(\"abcd\",0) ) )"},
      {"declaration and loop", "var px := 1; solange px < 10 mache px := px * 2;",
       "seq( ass( var('px') num(1) ) while( lt( var('px') num(10) ) ass( var('px') mul( tonum( var('px') ) num(2) ) ) ) )"},
      {"cond with else", "wenn Feld[0] = \"a\" dann 1; sonst 2;",
       "cond( eq( field ( num(0) ) str(\"a\",0) ) num(1) num(2) )"},
      {"cond without else", "wenn Feld[0] = \"a\" dann 1;", "cond( eq( field ( num(0) ) str(\"a\",0) ) num(1) )"},
      {"repeat", "var rx := 0; wiederhole rx := rx + 1; bis rx > 3;",
       "seq( ass( var('rx') num(0) ) repeat( ass( var('rx') add( tonum( var('rx') ) num(1) ) ) gt( var('rx') num(3) ) ) )"},
      {"signed literal", "-5;", "num(-5)"},
      {"plus sign", "+5;", "num(5)"},
      {"field by number", "@0;", "@(0)"},
      {"one-argument built-in", "sqrt(2);", "sqrt( num(2) )"},
      {"two-argument built-in", "pow(2, 8);", "pow( num(2) num(8) )"},
      {"prefix binds tighter", "NICHT 1 = 2;", "eq( not( num(1) ) num(2) )"},
      {"sign binds tighter", "-2 * 3;", "mul( num(-2) num(3) )"},
      {"left-associative", "1 - 2 - 3;", "sub( sub( num(1) num(2) ) num(3) )"},
      {"precedence", "1 + 2 * 3 & 4 < 5 UND 6 ODER 7;",
       "or( and( lt( &( tostr( add( num(1) mul( num(2) num(3) ) ) ) tostr( num(4) ) ) num(5) ) num(6) ) num(7) )"},
      {"conditional nests right", "1 ? 2 : 3 ? 4 : 5;", "if( num(1) num(2) if( num(3) num(4) num(5) ) )"},
      {"append wraps numbers", "\"ab\" & 1;", "&( str(\"ab\",0) tostr( num(1) ) )"},
      {"conversions", "^#$\"x\";", "upcase( tostr( tonum( tostr( str(\"x\",0) ) ) ) )"},
      {"sequence from the left", "1; 2; 3;", "seq( seq( num(1) num(2) ) num(3) )"},
      {"empty loop body", "solange 0 mache {}", "while( num(0) nop() )"},
      {"empty branch", "wenn 1 dann {} sonst {}", "cond( num(1) nop() )"},
      {"empty block in a sequence", "1; {} {{}} 2;", "seq( num(1) num(2) )"},
      {"block", "{ 1; 2; }", "seq( num(1) num(2) )"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QueryExpr q;
    EXPECT_EQ(Tree(q, c.in), c.want);
  }
}

TEST(QueryParser, VariablesCallsAndFieldNames) {
  QueryExpr q;
  ASSERT_EQ(q.SetVariable("va", false, 1.0L), nullptr);
  ASSERT_EQ(q.SetVariable("vb", false, "b"), nullptr);
  ASSERT_EQ(q.SetVariable("vc", false, 3.0L), nullptr);
  auto fn = [](char** out, void*, const char*, const char*, const char*, const char*) -> QX_Error {
    *out = nullptr;
    return nullptr;
  };
  ASSERT_EQ(q.AddFunction("fz", false, fn, nullptr, 0), nullptr);
  ASSERT_EQ(q.AddFunction("f2", false, fn, nullptr, 2), nullptr);
  ASSERT_EQ(q.AddField("Suchfeld", false, 0), nullptr);
  EXPECT_EQ(Tree(q, "va ? vb : vc;"), "if( var('va') var('vb') var('vc') )");
  EXPECT_EQ(Tree(q, "va := vb := vc;"), "ass( var('va') ass( var('vb') var('vc') ) )");
  EXPECT_EQ(Tree(q, "f2(1, \"a\") & fz;"), "&( fnc 'f2' ( tostr( num(1) ) str(\"a\",0) ) fnc 'fz' ( ) )");
  EXPECT_EQ(Tree(q, "Suchfeld := 1;"), "ass( @(0) num(1) )");
  EXPECT_EQ(Tree(q, "var va := 2;"), "ass( var('va') num(2) )");
}

TEST(QueryParser, ErrorsWithTextAndPosition) {
  struct E {
    const char* what;
    std::string in;
    int err;
    const char* text;  // null: not checked
    int pos;           // -1: not checked
  };
  const E cases[] = {
      {"empty text", "", 2, nullptr, -1},
      {"blank text", "  ", 2, nullptr, -1},
      {"no final semicolon", "1", 30, "", 1},
      {"two comparisons", "1 < 2 < 3;", 30, "<", 6},
      {"unknown name", "1 + abcq;", 15, "abcq", 4},
      {"assignment to an unknown name", "xq_undef := 1;", 15, "xq_undef", 0},
      {"open block", "{", 32, nullptr, -1},
      {"sign before a name", "-Feld[0];", 3, "Feld", 1},
      {"double sign", "--5;", 3, nullptr, -1},
      {"field index too large", "@1;", 16, nullptr, -1},
      {"field index not a number", "@\"a\";", 3, nullptr, -1},
      {"field index beyond 32 bits", "@ 1e10;", 9, nullptr, -1},
      {"too few built-in arguments", "pow(2);", 37, ")", 5},
      {"conditional without colon", "1 ? 2;", 31, ";", 5},
      {"global without var", "global 1;", 11, nullptr, -1},
      {"var without a name", "var 1 := 2;", 12, nullptr, -1},
      {"var of a keyword", "var UND := 2;", 12, nullptr, -1},
      {"declaration without :=", "var vq1 1;", 26, nullptr, -1},
      {"wenn without dann", "wenn 1 2;", 27, "2", 7},
      {"solange without mache", "solange 1 2;", 28, nullptr, -1},
      {"wiederhole without bis", "wiederhole 1; 2;", 29, nullptr, -1},
      {"repeat condition without semicolon", "wiederhole 1; bis 2", 30, nullptr, -1},
      {"open parenthesis", "(1;", 33, nullptr, -1},
      {"Feld without [", "Feld 0;", 34, nullptr, -1},
      {"Feld without ]", "Feld[0;", 35, nullptr, -1},
      {"built-in without (", "sqrt 2;", 36, nullptr, -1},
      {"built-in without )", "sqrt(2;", 38, nullptr, -1},
      {"stray parenthesis", ")", 24, nullptr, -1},
      {"keyword as operand", "dann;", 24, nullptr, -1},
      {"assignment to a number", "1 := 2;", 25, nullptr, -1},
      {"illegal character", "1 + !;", 23, "!", 4},
      {"open string", "\"abc", 22, nullptr, -1},
      {"literal out of range", "1e5000;", 5, nullptr, -1},
      {"scanner error after a literal", "1 !", 23, "!", 2},
  };
  for (const E& c : cases) {
    SCOPED_TRACE(c.what);
    QueryExpr q;
    QX_Error e = q.Compile(c.in.c_str());
    EXPECT_EQ(QX_ErrNumber(e), c.err) << (e ? e : "no error");
    EXPECT_FALSE(q.Compiled());
    if (c.text) {
      EXPECT_STREQ(q.ErrorText(), c.text);
    }
    if (c.pos >= 0) {
      EXPECT_EQ(q.ErrorPosition(), static_cast<uint32_t>(c.pos));
    }
  }
}

TEST(QueryParser, CallArgumentErrors) {
  QueryExpr q;
  auto fn = [](char** out, void*, const char*, const char*, const char*, const char*) -> QX_Error {
    *out = nullptr;
    return nullptr;
  };
  ASSERT_EQ(q.AddFunction("fa2", false, fn, nullptr, 2), nullptr);
  EXPECT_EQ(QX_ErrNumber(q.Compile("fa2 1;")), 36);
  EXPECT_EQ(QX_ErrNumber(q.Compile("fa2(1 2);")), 37);
  EXPECT_EQ(QX_ErrNumber(q.Compile("fa2(1, 2;")), 38);
  EXPECT_EQ(q.Compile("fa2(1, 2);"), nullptr);
}

TEST(QueryParser, DepthIsBoundedForEveryShape) {
  auto repeat = [](const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
  };
  const Case cases[] = {
      {"parentheses", repeat("(", 400) + "1" + repeat(")", 400) + ";", "E24"},
      {"prefixes", repeat("NICHT ", 400) + "1;", "E24"},
      {"conversions", repeat("^", 400) + "1;", "E24"},
      {"sum chain", "1" + repeat("+1", 400) + ";", "E24"},
      {"and chain", "1" + repeat(" UND 1", 400) + ";", "E24"},
      {"append chain", "1" + repeat(" & 1", 400) + ";", "E24"},
      {"statement sequence", repeat("1;", 400), "E24"},
      {"blocks", repeat("{", 400) + "1;" + repeat("}", 400), "E24"},
      {"nested conditions", repeat("wenn 1 dann ", 400) + "1;", "E24"},
      {"assignment chain", "var dq := 0;" + repeat(" dq :=", 400) + " 1;", "E24"},
      {"built-ins", repeat("abs(", 400) + "1" + repeat(")", 400) + ";", "E24"},
      {"conditional chain", "1" + repeat(" ? 1 : 1", 400) + ";", "E24"},
      {"within the bound", "1" + repeat("+1", 100) + ";", "101"},
      {"sequence within the bound", repeat("1;", 200), "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QueryExpr q;
    EXPECT_EQ(Result(q, c.in), c.want == "E24" ? "compile E24" : c.want);
  }
}

TEST(QueryValues, ConversionsAndTruth) {
  const Case cases[] = {
      {"empty text to number", "#\"\";", "0"},
      {"blank text to number", "#\"   \";", "0"},
      {"numeric prefix", "#\" 12abc\";", "12"},
      {"two blanks and a suffix", "#\"  42x\";", "42"},
      {"no numeric prefix", "#\"abc\";", "0"},
      {"no hexadecimal or inf", "#\"0x10\" + #\"inf\";", "0"},
      {"overflowing text", "#\"1e9999\";", "E5"},
      {"underflowing text", "#\"1e-9999\";", "E6"},
      {"1e18", "$1e18;", "1e+18"},
      {"18 digits stay fixed", "$123456789012345678;", "123456789012345678"},
      {"0.0001 stays", "$0.0001;", "0.0001"},
      {"0.00001 in exponent form", "$0.00001;", "1e-05"},
      {"-2.5", "$-2.5;", "-2.5"},
      {"two thirds", "2/3;", "0.666666666666666667"},
      {"number result as text", "1;", "1"},
      {"append literals", "\"ab\" & \"c\";", "abc"},
      {"largest integer index", "Feld[2147483647];", "E16"},
      {"integer overflow", "Feld[2147483648];", "E9"},
      {"fraction above the range", "Feld[2147483647.5];", "E9"},
      {"smallest integer", "Feld[-2147483648];", "E16"},
      {"below the range", "Feld[-2147483649];", "E9"},
      {"truncation toward zero", "Feld[-0.9];", "E17"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QueryExpr q;
    EXPECT_EQ(Result(q, c.in), c.want);
  }
  const struct {
    const char* in;
    bool truth;
  } truths[] = {{"\"0\";", true}, {"\"\";", false}, {"0;", false}, {"-0.5;", true}, {"wenn 0 dann 1;", false}};
  for (const auto& t : truths) {
    SCOPED_TRACE(t.in);
    QueryExpr q;
    ASSERT_EQ(q.Compile(t.in), nullptr);
    bool r = !t.truth;
    ASSERT_EQ(q.Evaluate(r), nullptr);
    EXPECT_EQ(r, t.truth);
  }
  int32_t i = 0;
  EXPECT_EQ(QX_Utilities::NumToInt(3.9L, i), nullptr);
  EXPECT_EQ(i, 3);
  EXPECT_EQ(QX_Utilities::NumToInt(-3.9L, i), nullptr);
  EXPECT_EQ(i, -3);
  EXPECT_EQ(QX_Utilities::NumToInt(2147483647.0L, i), nullptr);
  EXPECT_EQ(QX_Utilities::NumToInt(-2147483648.0L, i), nullptr);
  EXPECT_EQ(QX_ErrNumber(QX_Utilities::NumToInt(-2147483648.5L, i)), 9);
  long double v = 0;
  EXPECT_EQ(QX_Utilities::StrToNum("  12.5abc", v), nullptr);
  EXPECT_EQ(v, 12.5L);
}

TEST(QueryValues, NumbersKeep80Bits) {
  QueryExpr q;
  // 2^63 + 1 needs a 64-bit mantissa: a double would lose the 1.
  EXPECT_EQ(Result(q, "9223372036854775808 + 1 - 9223372036854775808;"), "1");
  EXPECT_EQ(Result(q, "#\"9223372036854775809\" - 9223372036854775808;"), "1");
  EXPECT_EQ(Result(q, "$9223372036854775809;"), "9.22337203685477581e+18");
  // A double square root would end ...515.
  EXPECT_EQ(Result(q, "sqrt(2);"), "1.41421356237309505");
  EXPECT_EQ(Result(q, "log(exp(1)) - 1 < 0.000000000000000001;"), "1");
}

TEST(QueryOperators, Table) {
  const Case cases[] = {
      {"number plus string", "1 + \"2\";", "3"},
      {"string plus string", "\"1\" + \"2\";", "3"},
      {"text without a number", "\"a\" + 1;", "1"},
      {"append numbers", "1 & 2;", "12"},
      {"half and empty", "0.5 & \"\";", "0.5"},
      {"one third, 18 digits", "1/3 & \"\";", "0.333333333333333333"},
      {"divide by zero", "7/0;", "E7"},
      {"divide by the text 0", "7/\"0\";", "E7"},
      {"zero divided", "0/7;", "0"},
      {"contains", "\"Hausboot\" *= \"boot\";", "1"},
      {"contains is case-sensitive", "\"Hausboot\" *= \"Boot\";", "0"},
      {"empty text is contained", "\"x\" *= \"\";", "1"},
      {"empty in empty", "\"\" *= \"\";", "1"},
      {"nothing in empty", "\"\" *= \"a\";", "0"},
      {"upper case leaves sharp s", "^\"stra\xDF" "e\";", "STRA\xDF" "E"},
      {"upper case leaves umlauts", "^\"\xE4\xF6\xFC" "a\";", "\xE4\xF6\xFC" "A"},
      {"upper case of a number", "^12;", "12"},
      {"square root of -1", "sqrt(-1);", "E4"},
      {"log of 0 is a pole", "log(0);", "E4"},
      {"pow(0, -1) is a pole", "pow(0, -1);", "E4"},
      {"mod by 0", "mod(1, 0);", "E4"},
      {"exp overflows", "exp(100000);", "E5"},
      {"exp underflows", "exp(-100000);", "E6"},
      {"product beyond the range", "1e4000 * 1e4000;", "E5"},
      {"sum beyond the range", "1e4932 + 1e4932;", "E5"},
      {"mod keeps the first sign", "mod(-7, 3);", "-1"},
      {"pow", "pow(2, 8);", "256"},
      {"built-ins", "floor(2.5) & ceil(2.5) & abs(-3) & log10(1000);", "2333"},
      {"built-in on text", "sqrt(\"16\");", "4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QueryExpr q;
    EXPECT_EQ(Result(q, c.in), c.want);
  }
}

TEST(QueryOperators, APoleLeavesNoTraceForTheNextConversion) {
  QueryExpr q;
  EXPECT_EQ(Result(q, "log(0);"), "E4");
  EXPECT_EQ(Result(q, "#\"1e9999\";"), "E5");
  EXPECT_EQ(Result(q, "log(0);"), "E4");
  EXPECT_EQ(Result(q, "\"1e9999\" < 1;"), "E5");
}

TEST(QueryOperators, UpperCasingLeavesTheConstant) {
  QueryExpr q;
  ASSERT_EQ(q.Compile("^\"abc\";"), nullptr);
  std::string a, b;
  ASSERT_EQ(q.EvaluateToText(a), nullptr);
  ASSERT_EQ(q.EvaluateToText(b), nullptr);
  EXPECT_EQ(a, "ABC");
  EXPECT_EQ(b, "ABC");
  std::ostringstream os;
  q.Print(os);
  EXPECT_EQ(Compact(os.str()), "upcase( str(\"abc\",0) )");
}

TEST(QueryFields, ReadAssignAndIndex) {
  FieldQuery q;
  q.field = "abc";
  const Case reads[] = {
      {"index 0", "Feld[0];", "abc"},
      {"index as text", "Feld[\"0\"];", "abc"},
      {"index 0.5 reads field 0", "Feld[0.5];", "abc"},
      {"index 1", "Feld[1];", "E16"},
      {"index -1", "Feld[-1];", "E16"},
      {"@0", "@0;", "abc"},
  };
  for (const Case& c : reads) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Result(q, c.in), c.want);
  }
  EXPECT_EQ(Result(q, "@0 := 2.5;"), "2.5");
  EXPECT_EQ(q.field, "2.5");
  EXPECT_EQ(Result(q, "Feld[0] := 1e18;"), "1e+18");
  EXPECT_EQ(q.field, "1e+18");
  // The value is evaluated before the index of the target.
  q.writes = 0;
  EXPECT_EQ(Result(q, "Feld[1] := 7/0;"), "E7");
  EXPECT_EQ(Result(q, "Feld[1] := 1;"), "E16");
  EXPECT_EQ(q.writes, 0);

  q.noText = true;
  EXPECT_EQ(Result(q, "Feld[0];"), "");
  ASSERT_EQ(q.Compile("Feld[0];"), nullptr);
  bool r = true;
  ASSERT_EQ(q.Evaluate(r), nullptr);
  EXPECT_FALSE(r);
}

TEST(QueryFields, DefaultFieldAccessFails) {
  QueryExpr q;
  EXPECT_EQ(q.Compile("Feld[0] = \"a\";"), nullptr);
  bool r = true;
  EXPECT_EQ(QX_ErrNumber(q.Evaluate(r)), 17);
  EXPECT_TRUE(r) << "result untouched on an error";
  EXPECT_EQ(Result(q, "@0 := 1;"), "E18");
}

TEST(QueryVariables, OwnCopiesAndSelfAssignment) {
  FieldQuery q;
  q.field = "old";
  EXPECT_EQ(Result(q, "var fv := Feld[0];"), "old");
  q.field = "new";
  EXPECT_EQ(Result(q, "fv;"), "old") << "the variable keeps its own copy";
  // The value borrows the stored text that the assignment replaces.
  EXPECT_EQ(Result(q, "var sv := \"ab\" & \"cd\"; sv := sv; sv := sv; sv;"), "abcd");
  EXPECT_EQ(Result(q, "sv := sv;"), "abcd");
  EXPECT_EQ(Result(q, "sv := sv & sv;"), "abcdabcd");
  q.field = "self";
  EXPECT_EQ(Result(q, "@0 := @0;"), "self");
  EXPECT_EQ(Result(q, "Feld[0] := Feld[0] & \"!\";"), "self!");
  EXPECT_EQ(q.field, "self!");
  EXPECT_EQ(Result(q, "Feld[0] & (Feld[0] := \"x\") & Feld[0];"), "self!xx") << "a borrowed text outlives the write";
  // An assignment as a condition is true when the assigned value is.
  EXPECT_EQ(Result(q, "var cv := 0; wenn cv := \"x\" dann 1; sonst 2;"), "1");
  EXPECT_EQ(Result(q, "wenn cv := \"\" dann 1; sonst 2;"), "2");
}

TEST(QueryFunctions, CallsGetTheirParameters) {
  static std::string seen;
  auto fn = [](char** out, void* datum, const char* p0, const char* p1, const char* p2, const char* p3) -> QX_Error {
    seen = std::string(static_cast<const char*>(datum)) + ":" + (p0 ? p0 : "null") + "," + (p1 ? p1 : "null") +
           "," + (p2 ? p2 : "null") + "," + (p3 ? p3 : "null");
    static char text[] = "done";
    *out = p0 && p0[0] == 'n' ? nullptr : text;
    return p0 && p0[0] == 'e' ? QX_Err(18) : nullptr;
  };
  static char datum[] = "d";
  QueryExpr q;
  ASSERT_EQ(q.AddFunction("fcall", false, fn, datum, 2), nullptr);
  EXPECT_EQ(Result(q, "fcall(1.5, \"x\");"), "done");
  EXPECT_EQ(seen, "d:1.5,x,null,null");
  EXPECT_EQ(Result(q, "fcall(\"n\", 2);"), "");
  EXPECT_EQ(Result(q, "fcall(\"e\", 2);"), "E18");
  seen.clear();
  EXPECT_EQ(Result(q, "fcall(1, 7/0);"), "E7");
  EXPECT_EQ(seen, "") << "a failing parameter stops the call";
  auto fn3 = [](char** out, void*, const char*, const char*, const char*, const char*) -> QX_Error {
    *out = nullptr;
    return nullptr;
  };
  EXPECT_EQ(q.AddFunction("fthree", false, fn3, nullptr, 3), nullptr);
}

TEST(QueryControl, ComparisonsShortCircuitsAndLoops) {
  const Case cases[] = {
      {"strings", "\"abc\" < \"abd\";", "1"},
      {"number and string compare as numbers", "10 > \"9\";", "1"},
      {"strings compare as text", "\"10\" < \"9\";", "1"},
      {"number and text 1.0", "1 = \"1.0\";", "1"},
      {"texts 1 and 1.0", "\"1\" = \"1.0\";", "0"},
      {"collation ignores case first", "\"a\" < \"B\";", "1"},
      {"conversion error", "\"1e9999\" < 1;", "E5"},
      {"and skips its second", "var sc := 0; 0 UND (sc := 1); sc;", "0"},
      {"or skips its second", "var so := 0; 1 ODER (so := 1); so;", "0"},
      {"and skips a failure", "0 UND 1/0;", "0"},
      {"or skips a failure", "1 ODER 1/0;", "1"},
      {"and evaluates both", "1 UND \"x\";", "1"},
      {"not of the text 0", "NICHT \"0\";", "0"},
      {"not of the empty text", "NICHT \"\";", "1"},
      {"if takes one branch", "0 ? 1/0 : 2;", "2"},
      {"cond without a branch taken", "wenn 0 dann 1;", ""},
      {"while never runs", "var w := 0; solange 0 mache w := 1; w;", "0"},
      {"while runs", "var w2 := 0; solange w2 < 5 mache w2 := w2 + 1; w2;", "5"},
      {"repeat runs once", "var r := 0; wiederhole r := r + 1; bis 1; r;", "1"},
      {"repeat until", "var r2 := 0; wiederhole r2 := r2 + 2; bis r2 >= 6; r2;", "6"},
      {"loop yields no value", "solange 0 mache 1;", ""},
      {"sequence stops at its first error", "var st := 1; 7/0; st := 2;", "E7"},
      {"empty branch runs", "wenn 1 dann {} sonst 2;", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QueryExpr q;
    EXPECT_EQ(Result(q, c.in), c.want);
  }
  QueryExpr q;
  EXPECT_EQ(Result(q, "var st2 := 1; st2 := 7/0; st2;"), "E7");
  EXPECT_EQ(Result(q, "st2;"), "1") << "a failed assignment leaves the variable";
}

TEST(QueryLimits, RunawayQueriesEnd) {
  QueryExpr q;
  EXPECT_EQ(Result(q, "solange 1 mache 1;"), "E39");
  EXPECT_EQ(Result(q, "wiederhole {} bis 0;"), "E39");
  EXPECT_EQ(Result(q, "var big := \"x\"; solange 1 mache big := big & big;"), "E0");
  EXPECT_EQ(Result(q, "var slow := \"\"; solange 1 mache slow := slow & \"0123456789\";"), "E39");
  // Text held by variables is bounded as a whole: each one here holds 16 MiB.
  std::string many = "var t0 := \"x\"; solange #t0 < 16000000 mache t0 := t0 & t0;";
  for (int i = 1; i < 6; ++i) many += " var t" + std::to_string(i) + " := t0 & \"\";";
  EXPECT_EQ(Result(q, many), "E0");
  EXPECT_EQ(Result(q, "var t0 := \"\"; var t1 := \"\"; var t2 := \"\"; var t3 := \"ok\";"), "ok") << "dropped text counts no more";
  // The budget belongs to one evaluation: a pass here costs its 8 nodes.
  ASSERT_EQ(q.Compile("var n := 0; solange n < 20000 mache n := n + 1; n;"), nullptr);
  for (int i = 0; i < 2; ++i) {
    std::string out;
    EXPECT_EQ(q.EvaluateToText(out), nullptr);
    EXPECT_EQ(out, "20000");
  }
}

TEST(QuerySymbols, ResetGlobalStartsAFreshRun) {
  {
    QueryExpr a;
    ASSERT_EQ(Result(a, "global var gr1 := 5;"), "5");
  }
  QX_DataBase::ResetGlobal();
  QueryExpr b;
  EXPECT_NE(b.Compile("gr1 + 1;"), nullptr) << "the global variable went with the table";
  // The language's own words come back with the next scanner.
  EXPECT_EQ(Result(b, "1 UND 1;"), "1");
  EXPECT_EQ(Result(b, "var n := 0; solange n < 3 mache n := n + sqrt(1); n;"), "3");
  EXPECT_EQ(Result(b, "global var gr1 := 7; gr1;"), "7");
}

TEST(QuerySymbols, GlobalAndOwnNames) {
  {
    QueryExpr a;
    EXPECT_EQ(Result(a, "global var gq1 := 5;"), "5");
  }
  QueryExpr b;
  EXPECT_EQ(Result(b, "gq1 + 1;"), "6") << "a global variable outlives its query";
  auto fn = [](char** out, void*, const char*, const char*, const char*, const char*) -> QX_Error {
    *out = nullptr;
    return nullptr;
  };
  EXPECT_EQ(QX_ErrNumber(b.AddFunction("sqrt", false, fn, nullptr, 1)), 14);
  EXPECT_EQ(QX_ErrNumber(b.AddField("UND", false, 0)), 14);
  EXPECT_EQ(b.AddField("fd0", false, 0), nullptr);
  EXPECT_EQ(QX_ErrNumber(b.AddField("fd1", false, 1)), 16);
  EXPECT_EQ(QX_ErrNumber(b.AddField("fd0", false, 0)), 14);
  // A variable is checked against its own table only.
  EXPECT_EQ(b.SetVariable("UND", false, 7.0L), nullptr);
  EXPECT_EQ(Result(b, "UND;"), "7");
  QueryExpr c;
  EXPECT_EQ(Result(c, "1 UND 1;"), "1") << "the keyword is untouched elsewhere";
  EXPECT_EQ(QX_ErrNumber(c.SetVariable("UND", true, 1.0L)), 12);
  // Declaring again replaces the value and keeps the symbol.
  ASSERT_EQ(Result(c, "var rd := 1;"), "1");
  const uint32_t n = c.Symbols().SymbolCount();
  EXPECT_EQ(Result(c, "var rd := 2; rd;"), "2");
  EXPECT_EQ(c.Symbols().SymbolCount(), n);
  // A declaration that failed later still made its variable.
  EXPECT_EQ(Result(c, "var late := 3; )"), "compile E24");
  EXPECT_EQ(Result(c, "late;"), "0");
}

TEST(QuerySymbols, TablesAreBounded) {
  QueryExpr q;
  QX_Error e = nullptr;
  uint32_t made = 0;
  for (; made < 5000 && !e; ++made) e = q.SetVariable(("n" + std::to_string(made)).c_str(), false, 1.0L);
  EXPECT_EQ(QX_ErrNumber(e), 13);
  EXPECT_EQ(made - 1, QX_MAXNAMES);
  std::string text;
  for (int i = 0; i < 10; ++i) text += "var m" + std::to_string(i) + " := 1; ";
  EXPECT_EQ(Result(q, text), "compile E13");
}

TEST(QuerySymbols, HashAndContracts) {
  // h = (h + c) * 21163 over signed characters.
  EXPECT_EQ(QX_DataBase::Hash(""), 0u);
  EXPECT_EQ(QX_DataBase::Hash("a"), 97u * 21163u);
  EXPECT_EQ(QX_DataBase::Hash("\xFF"), static_cast<uint32_t>(-1 * 21163));
  static std::string seen;
  auto handler = [](const char* cond, const char*, int) { seen = cond; };
  tsl::CheckHandler old = tsl::SetCheckHandler(handler);
  QueryExpr q;
  auto fn = [](char** out, void*, const char*, const char*, const char*, const char*) -> QX_Error {
    *out = nullptr;
    return nullptr;
  };
  EXPECT_NE(q.AddFunction("f4", false, fn, nullptr, 4), nullptr);
  tsl::SetCheckHandler(old);
  EXPECT_EQ(seen, "name && func && npar < QX_PARMAX");
}

TEST(QueryFacade, Contracts) {
  QueryExpr q;
  bool r = true;
  EXPECT_EQ(QX_ErrNumber(q.Evaluate(r)), 1);
  EXPECT_TRUE(r);
  char* text = nullptr;
  EXPECT_EQ(QX_ErrNumber(q.EvaluateToText(text)), 1);
  ASSERT_EQ(q.Compile("1;"), nullptr);
  ASSERT_EQ(q.EvaluateToText(text), nullptr);
  EXPECT_STREQ(text, "1");
  delete[] text;
  ASSERT_EQ(q.Compile("\"\";"), nullptr) << "compiling again replaces the tree";
  r = true;
  ASSERT_EQ(q.Evaluate(r), nullptr);
  EXPECT_FALSE(r);
  EXPECT_EQ(QX_ErrNumber(q.Compile("1 +;")), 24);
  EXPECT_EQ(QX_ErrNumber(q.Evaluate(r)), 1) << "a failed compile leaves no tree";
  EXPECT_EQ(q.Compile("{}"), nullptr);
  EXPECT_EQ(QX_ErrNumber(q.Evaluate(r)), 1) << "nothing but empty blocks is no tree";
  // Messages are those of the table, in code page 1252.
  EXPECT_STREQ(QX_Err(5), "Gleitkomma-Wertebereich \xFC" "berschritten");
  EXPECT_STREQ(QX_Err(22), "fehlendes Anf\xFC" "hrungszeichen am Stringende");
  EXPECT_STREQ(QX_Err(39), "Abbruch durch Benutzer!");
  EXPECT_EQ(QX_ErrNumber(nullptr), -1);
}

}  // namespace
