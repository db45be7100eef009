// drenok-convert IN OUT: reads a data file in any layout the desktop program opens (chosen by the
// extension of IN) and writes it in the current layout. Exit 0 on success, 1 with the message otherwise.

#include <exception>
#include <iostream>

#include "app/model/data_file.h"
#include "app/model/problem_tables.h"
#include "app/model/program_data.h"
#include "app/model/word_reader.h"

int main(int argc, char** argv) {
    using namespace app::model;
    if (argc != 3) {
        std::cerr << "usage: drenok-convert IN OUT\n";
        return 1;
    }
    try {
        TProblemTables tables;
        TProgramData model(tables);
        CreateFromFile(model, argv[1], FormatFromExtension(argv[1]));
        // The model holds one stage only; writing it would drop the others.
        if (model.StageCount > 1) {
            std::cerr << "Staged data files cannot be converted\n";
            return 1;
        }
        model.FileName = argv[2];
        SaveDataFile(model, argv[2]);
    } catch (const EInOutError& error) {
        std::cerr << error.what() << '\n';
        return 1;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
