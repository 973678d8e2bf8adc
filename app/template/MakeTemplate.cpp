// Build step: creates the empty database from the schema and writes it twice, as the file left in
// the build folder and as a C++ array for the Linux executable to carry.
#include "base/Exception.h"
#include "data/DBConnection.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s TEMPLATE.ipdb TEMPLATE.cpp\n", argv[0]);
        return 2;
    }
    try {
        const std::string Db = argv[1];
        std::remove(Db.c_str());
        CreateEmptyDatabase(Db);
        std::ifstream In(Db, std::ios::binary);
        const std::string Bytes{std::istreambuf_iterator<char>(In),
                                std::istreambuf_iterator<char>()};
        std::ofstream Out(argv[2], std::ios::trunc);
        Out << "#include <cstddef>\nextern const unsigned char QuelvanoTemplate[] = {";
        for (std::size_t I = 0; I < Bytes.size(); ++I)
            Out << (I % 16 ? "" : "\n")
                << static_cast<unsigned>(static_cast<unsigned char>(Bytes[I])) << ",";
        Out << "};\nextern const std::size_t QuelvanoTemplateSize = " << Bytes.size() << ";\n";
        return Out ? 0 : 1;
    } catch (const Exception& E) {
        std::fprintf(stderr, "%s\n", E.what());
        return 1;
    }
}
