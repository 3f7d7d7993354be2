// qeltaro-cli formula ...

#include "cli_context.h"

#include "formula/parameter_catalogue.h"

#include <QJsonObject>

namespace qeltaro::cli {

void addFormulaCommands(CLI::App& app, Context& context)
{
    auto text = std::make_shared<std::string>();
    CLI::App* formula = app.add_subcommand("formula", "formula library and formula language");
    formula->require_subcommand(1);

    CLI::App* translate = formula->add_subcommand("translate", "print the code form of a Chinese formula text");
    translate->add_option("TEXT", *text, "formula text, e.g. 和个位+个位码")->required();
    setAction(translate, [&context, text] {
        const QString code = translateToCode(fromStd(*text));
        if (context.json)
            context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("text"), fromStd(*text)},
                                                        {QStringLiteral("code"), code}}));
        else
            context.print(code);
        return int(kSuccess);
    });
}

}  // namespace qeltaro::cli
