#include "cli/Json.h"

#include "base/Exception.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Json, ReadsAndWritesBackEveryKindOfValue) {
    const struct {
        std::string Text;
        std::string Written;
    } Cases[] = {
        {" [ ] ", "[]"},
        {"{}", "{}"},
        {"-0.5e2", "-50"},
        {"2147483647", "2147483647"},
        {"0.25", "0.25"},
        {"\"a\\u00f1\\ud83d\\ude00\\n\\/\"", "\"a\xc3\xb1\xf0\x9f\x98\x80\\n/\""},
        {"\"\xc3\xb1 \\\"q\\\" \\\\ \\u0001\\t\\r\\b\"",
         "\"\xc3\xb1 \\\"q\\\" \\\\ \\u0001\\t\\r\\u0008\""},
        // Control characters, also DEL and those above it, are never written as they are.
        {"\"\x7f\xc2\x9b\xc2\xa0\"", "\"\\u007f\\u009b\xc2\xa0\""},
        {"{\"a\":[1,true,null],\"b\":{\"c\":false}}",
         "{\n  \"a\": [\n    1,\n    true,\n    null\n  ],\n  \"b\": {\n    \"c\": false\n  }\n}"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Text);
        EXPECT_EQ(ParseJson(C.Text).Write(), C.Written);
        EXPECT_EQ(ParseJson(C.Written).Write(), C.Written);
    }
}

TEST(Json, RefusesFaultsNamingWhereTheyAre) {
    const struct {
        std::string Text;
        std::string Message;
    } Cases[] = {
        {"", "linea 1, columna 1: el documento termina antes de tiempo"},
        {"{\"a\":1,\"a\":2}", "linea 1, columna 8: el miembro \"a\" aparece dos veces"},
        {"{\"\\u001b\":1,\"\\u001b\":2}",
         "linea 1, columna 13: el miembro \"\\u001b\" aparece dos veces"},
        {"[1,]", "linea 1, columna 4: se esperaba un valor"},
        {"{\"a\" 1}", "linea 1, columna 6: se esperaba ':'"},
        {"{1:2}", "linea 1, columna 2: se esperaba el nombre de un miembro entre comillas"},
        {"[1 2]", "linea 1, columna 4: se esperaba ','"},
        {"\"abc", "linea 1, columna 5: falta la comilla que cierra el texto"},
        {"\"\\x\"", "linea 1, columna 3: secuencia de escape no valida"},
        {"\"\\u12g4\"", "linea 1, columna 6: se esperaban cuatro cifras hexadecimales"},
        {"\"\\ud800\"", "linea 1, columna 8: suplente UTF-16 sin pareja"},
        {"\"\\udc00\"", "linea 1, columna 8: suplente UTF-16 sin pareja"},
        {"\"\xff\"", "linea 1, columna 2: el texto no es UTF-8 valido"},
        {"\"\xc0\x80\"", "linea 1, columna 2: el texto no es UTF-8 valido"},
        {"\"\xed\xa0\x80\"", "linea 1, columna 2: el texto no es UTF-8 valido"},
        {"\"a\tb\"", "linea 1, columna 3: caracter de control dentro de un texto"},
        {"01", "linea 1, columna 2: sobra texto despues del documento"},
        {"-", "linea 1, columna 2: numero no valido"},
        {"1.", "linea 1, columna 3: numero no valido"},
        {"1e999", "linea 1, columna 1: numero fuera de rango"},
        {"{\n  \"a\": tru }", "linea 2, columna 8: se esperaba un valor"},
        {"[\"\xc3\xb1\", x]", "linea 1, columna 7: se esperaba un valor"},
        {std::string(65, '[') + std::string(65, ']'),
         "linea 1, columna 65: el documento esta anidado demasiado"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Text);
        try {
            ParseJson(C.Text);
            ADD_FAILURE() << "accepted";
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message(), C.Message);
        }
    }
    EXPECT_NO_THROW(ParseJson(std::string(64, '[') + std::string(64, ']')));
}

} // namespace
