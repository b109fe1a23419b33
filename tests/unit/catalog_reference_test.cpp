// The function reference and the README overview made by the catalogue tool
// from a small declaration script.
#include "noop_gen.h"
#include "reference.h"

#include <string>

#include <gtest/gtest.h>

namespace catalog {
namespace {

// Two subsystems whose groups interleave, a function without arguments, a
// type with a comma inside its parentheses, a "|" in an example and a
// "Logs:" line.
const char kScript[] = R"(-- ## Text: cases
-- fn_Up(text)
--   The text in upper case. NULL gives the empty text.
--   Example: fn_Up('a|b') -> 'A|B'
--   Example: fn_Up(NULL) -> ''
DECLARE EXTERNAL FUNCTION fn_Up
  CSTRING(32767) NULL
  RETURNS CSTRING(32767) FREE_IT
  ENTRY_POINT 'fn_Up' MODULE_NAME 'qor_udf3.dll';

-- ## Accounting: ranges
-- fn_Round(value, places)
--   The value rounded.
--   Logs: nothing; it cannot fail.
--   Example: fn_Round(1.25, 1) -> 1.3
--   Example: fn_Round(NULL, 1) -> 0
DECLARE EXTERNAL FUNCTION fn_Round
  NUMERIC(15,2), INTEGER
  RETURNS DOUBLE PRECISION BY VALUE
  ENTRY_POINT 'fn_Round' MODULE_NAME 'qor_udf3.dll';

-- ## Text: lists
-- fn_Now()
--   The current time; a NULL never comes back.
--   Example: fn_Now() IS NOT NULL -> 1
DECLARE EXTERNAL FUNCTION fn_Now
  RETURNS INTEGER BY VALUE
  ENTRY_POINT 'fn_Now' MODULE_NAME 'qor_udf3.dll';

COMMIT;
)";

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(Reference, OneSectionPerSubsystemWithEveryFunction) {
  const Catalog cat = Parse(kScript);
  ASSERT_TRUE(cat.errors.empty()) << cat.errors.front();
  const std::string ref = Reference(cat);

  // Subsystems in the order the script first names them; both Text groups
  // under one heading.
  EXPECT_EQ(Count(ref, "\n## "), 2u) << ref;
  const size_t text = ref.find("\n## Text\n");
  const size_t accounting = ref.find("\n## Accounting\n");
  ASSERT_NE(text, std::string::npos);
  ASSERT_NE(accounting, std::string::npos);
  EXPECT_LT(text, accounting);
  EXPECT_LT(ref.find("### Cases"), ref.find("### Lists"));
  EXPECT_LT(ref.find("### Lists"), accounting);
  EXPECT_GT(ref.find("#### fn_Round(value, places)"), accounting);

  for (const char* part : {
           "<a id=\"fn_up\"></a>\n#### fn_Up(text)\n",
           "DECLARE EXTERNAL FUNCTION fn_Up\n  CSTRING(32767) NULL\n  RETURNS CSTRING(32767) FREE_IT\n"
           "  ENTRY_POINT 'fn_Up' MODULE_NAME 'qor_udf3.dll';",
           // the argument types stand in the declaration, the names in the heading
           "DECLARE EXTERNAL FUNCTION fn_Round\n  NUMERIC(15,2), INTEGER\n  RETURNS DOUBLE PRECISION BY VALUE\n",
           "DECLARE EXTERNAL FUNCTION fn_Now\n  RETURNS INTEGER BY VALUE\n",
           "**Answers:** The value rounded.\n",
           // what NULL gives: the description's own sentence, then the examples
           "**NULL arguments:** NULL gives the empty text. For example `fn_Up(NULL)` gives `''`.",
           "**NULL arguments:** `fn_Round(NULL, 1)` gives `0`.",
           "**Logs:** nothing; it cannot fail.",
           // the common logging rule once, with the functions that differ
           "as `<function>: <message>`",
           "say so under **Logs**: [`fn_Round`](#fn_round).\n",
           "| `fn_Up('a\\|b')` | `'A\\|B'` |",
           "| `fn_Round(1.25, 1)` | `1.3` |",
           "- [Text](#text): [`fn_Up`](#fn_up), [`fn_Now`](#fn_now)\n",
       }) {
    EXPECT_NE(ref.find(part), std::string::npos) << part << "\n---\n" << ref;
  }
  // No NULL paragraph for a function without arguments; the "Logs:" line is
  // not part of the description.
  EXPECT_EQ(Count(ref, "**NULL arguments:**"), 2u);
  EXPECT_EQ(ref.find("rounded. Logs"), std::string::npos);
  EXPECT_EQ(Count(ref, "\n#### "), 3u);
  // No line repeats the declared arguments; only the exception has a Logs
  // paragraph, and the rule is not repeated per function.
  EXPECT_EQ(Count(ref, "**Arguments:**"), 0u);
  EXPECT_EQ(Count(ref, "**Logs:**"), 1u);
  EXPECT_EQ(Count(ref, "qor_udf3.err"), 1u);
}

TEST(Reference, ReadmeOverviewLinksIntoTheReference) {
  const Catalog cat = Parse(kScript);
  EXPECT_EQ(ReadmeOverview(cat, "docs/functions.md"),
            "- [Text](docs/functions.md#text): [`fn_Up`](docs/functions.md#fn_up), "
            "[`fn_Now`](docs/functions.md#fn_now)\n"
            "- [Accounting](docs/functions.md#accounting): [`fn_Round`](docs/functions.md#fn_round)\n");

  std::string out;
  ASSERT_TRUE(SpliceBetween("a\n<b>\nold\n<e>\nz", "<b>", "<e>", "new\n", out));
  EXPECT_EQ(out, "a\n<b>\nnew\n<e>\nz");
  EXPECT_FALSE(SpliceBetween("a <e> <b>", "<b>", "<e>", "new\n", out));
}

TEST(Reference, NamesAndSentences) {
  EXPECT_EQ(Anchor("fn_KstToAufteilung2"), "fn_ksttoaufteilung2");
  EXPECT_EQ(Anchor("Files, directories and paths"), "files-directories-and-paths");
  EXPECT_EQ(SubsystemOf("Accounting: account ranges"), "Accounting");
  EXPECT_EQ(PartOf("Accounting: account ranges"), "account ranges");
  EXPECT_EQ(SubsystemOf("Version"), "Version");
  EXPECT_EQ(PartOf("Version"), "");
  EXPECT_EQ(NullSentences("Belongs or not. an empty or NULL list admits all. A NULL account belongs to "
                          "no range. NULLIF is no NULL"),
            (std::vector<std::string>{"An empty or NULL list admits all.", "A NULL account belongs to no range.",
                                      "NULLIF is no NULL"}));
  EXPECT_TRUE(NullSentences("Nothing about NULLIF here.").empty());
}

// A declared function without a description or an example makes the script
// unsound, which fails the catalogue checks.
TEST(Reference, ScriptWithoutDescriptionOrExampleIsRejected) {
  const struct {
    const char* script;
    const char* error;
  } cases[] = {
      {"-- fn_A(x)\n--   Example: fn_A(NULL) -> 0\nDECLARE EXTERNAL FUNCTION fn_A INTEGER RETURNS INTEGER BY VALUE "
       "ENTRY_POINT 'fn_A' MODULE_NAME 'qor_udf3.dll';\n",
       "fn_A: no description"},
      {"-- fn_A(x)\n--   Answers.\nDECLARE EXTERNAL FUNCTION fn_A INTEGER RETURNS INTEGER BY VALUE "
       "ENTRY_POINT 'fn_A' MODULE_NAME 'qor_udf3.dll';\n",
       "fn_A: no example"},
      {"DECLARE EXTERNAL FUNCTION fn_A INTEGER RETURNS INTEGER BY VALUE "
       "ENTRY_POINT 'fn_A' MODULE_NAME 'qor_udf3.dll';\n",
       "declaration of fn_A without its documentation block"},
  };
  for (const auto& c : cases) {
    const Catalog cat = Parse(c.script);
    ASSERT_EQ(cat.errors.size(), 1u) << c.script;
    EXPECT_NE(cat.errors[0].find(c.error), std::string::npos) << cat.errors[0];
  }
}

// The benchmark's no-op twins: one per declaration, of the result's kind.
TEST(NoopTwins, SameSignatureAndTheLeastValidResult) {
  const Catalog cat = Parse(std::string(kScript) + R"(
-- fn_Trim(text)
--   Trimmed in place.
--   Example: fn_Trim(' a ') -> 'a'
DECLARE EXTERNAL FUNCTION fn_Trim
  CSTRING(32767) NULL
  RETURNS CSTRING(32767)
  ENTRY_POINT 'fn_Trim' MODULE_NAME 'qor_udf3.dll';

-- fn_ToBlob(text, blob)
--   Into a blob.
--   Example: fn_ToBlob('a') -> 'a'
DECLARE EXTERNAL FUNCTION fn_ToBlob
  CSTRING(32767) NULL, BLOB
  RETURNS PARAMETER 2
  ENTRY_POINT 'fn_ToBlob' MODULE_NAME 'qor_udf3.dll';

-- fn_Stamp(x)
--   A timestamp.
--   Example: fn_Stamp(NULL) -> NULL
DECLARE EXTERNAL FUNCTION fn_Stamp
  INTEGER
  RETURNS TIMESTAMP FREE_IT
  ENTRY_POINT 'fn_Stamp' MODULE_NAME 'qor_udf3.dll';
)");
  ASSERT_TRUE(cat.errors.empty()) << cat.errors.front();
  const std::string source = NoopSource(cat);
  for (const char* line : {
           "extern \"C\" QOR_NOOP_EXPORT void* fn_Up() { return Fresh(1); }\n",
           "extern \"C\" QOR_NOOP_EXPORT double fn_Round() { return 0.0; }\n",
           "extern \"C\" QOR_NOOP_EXPORT long long fn_Now() { return 0; }\n",
           "extern \"C\" QOR_NOOP_EXPORT const void* fn_Trim() { return kZero; }\n",
           "extern \"C\" QOR_NOOP_EXPORT void fn_ToBlob() {}\n",
           "extern \"C\" QOR_NOOP_EXPORT void* fn_Stamp() { return Fresh(16); }\n",
       }) {
    EXPECT_NE(source.find(line), std::string::npos) << line << "\n---\n" << source;
  }
  EXPECT_EQ(NoopDeclaration(cat.functions[1]),
            "DECLARE EXTERNAL FUNCTION nop_Round NUMERIC(15,2), INTEGER RETURNS DOUBLE PRECISION BY VALUE "
            "ENTRY_POINT 'fn_Round' MODULE_NAME 'qor_noop.dll'");
  EXPECT_EQ(NoopDeclaration(cat.functions[2]),
            "DECLARE EXTERNAL FUNCTION nop_Now RETURNS INTEGER BY VALUE ENTRY_POINT 'fn_Now' "
            "MODULE_NAME 'qor_noop.dll'");
}

}  // namespace
}  // namespace catalog
