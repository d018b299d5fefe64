// The commands of halvika-cli, writing to the streams they are given.
#include "CliCommands.h"

#include "alarms/Alarm.h"
#include "alarms/ExpressionError.h"
#include "alarms/clsAdvancedDate.h"
#include "dates/ArithmeticError.h"
#include "text/NumberText.h"
#include "text/TextFile.h"

#include <ostream>
#include <stdexcept>

namespace halvika {

namespace {

std::string describe(const std::exception& e) {
    return std::string("error: ") + e.what();
}

} // namespace

const char* CliCommands::usage() {
    return "Usage:\n"
           "  halvika-cli next FILE.agx --after \"yyyy/mm/dd hh:nn:ss\" [--count N] [--calendar]\n"
           "      For each alarm of the group file, in file order, its next N moments strictly after the\n"
           "      given moment, one line each: the alarm's name, a tab, the moment (\"none\" when there is no\n"
           "      further moment). --calendar ignores the alarms' corrections.\n"
           "  halvika-cli eval EXPRESSION \"yyyy/mm/dd hh:nn:ss\"\n"
           "      Whether the moment satisfies the date expression: True or False.\n"
           "  halvika-cli --help\n";
}

int CliCommands::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << usage();
        return exitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << usage();
        return exitOk;
    }
    if (args[0] == "next") {
        return next(args, out, err);
    }
    if (args[0] == "eval") {
        return eval(args, out, err);
    }
    err << "halvika-cli: unknown command \"" << args[0] << "\"\n" << usage();
    return exitUsage;
}

int CliCommands::next(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string file;
    std::string after;
    bool haveAfter = false;
    bool calendar = false;
    int count = 1;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--after" || a == "--count") {
            if (i + 1 >= args.size()) {
                err << "halvika-cli: " << a << " needs a value\n";
                return exitUsage;
            }
            const std::string& value = args[++i];
            if (a == "--after") {
                after = value;
                haveAfter = true;
            } else {
                const auto n = NumberText::parseLong(value);
                if (!n || *n < 1 || *n > maxCount || value.find_first_of(".eE") != std::string::npos) {
                    err << "halvika-cli: --count takes a whole number from 1 to " << maxCount << "\n";
                    return exitUsage;
                }
                count = *n;
            }
        } else if (a == "--calendar") {
            calendar = true;
        } else if (file.empty() && a.rfind("--", 0) != 0) {
            file = a;
        } else {
            err << "halvika-cli: unexpected argument \"" << a << "\"\n";
            return exitUsage;
        }
    }
    if (file.empty() || !haveAfter) {
        err << "halvika-cli: next needs a group file and --after\n" << usage();
        return exitUsage;
    }
    const auto start = Date::fromFileString(after);
    if (!start) {
        err << "halvika-cli: \"" << after << "\" is not a moment of the form yyyy/mm/dd hh:nn:ss\n";
        return exitUsage;
    }
    const auto text = TextFile::readText(file);
    if (!text) {
        err << "halvika-cli: cannot read " << file << "\n";
        return exitUsage;
    }
    const XMLNodePtr group = XMLNode::createFromXML(*text);
    if (group->name != "algr") {
        err << "halvika-cli: " << file << " is not an alarm group file\n";
        return exitUsage;
    }
    for (int i = 0; i < group->getNumberOfNodes(); ++i) {
        const XMLNodePtr element = group->getNodeAt(i);
        if (element->name != "alrm") {
            continue;
        }
        const auto alarm = Alarm::createFromXML(*element, nullptr);
        Date from = *start;
        for (int k = 0; k < count; ++k) {
            out << alarm->name << '\t';
            try {
                if (!alarm->hasNextAlarmDateAfter(from, calendar) || alarm->getNextAlarmDateAfter() == Date::none()) {
                    out << "none\n";
                    break;
                }
                from = alarm->getNextAlarmDateAfter();
                out << from.toFileString() << '\n';
            } catch (const ArithmeticError& e) {
                out << describe(e) << '\n';
                break;
            } catch (const ExpressionError& e) {
                out << describe(e) << '\n';
                break;
            }
        }
    }
    return exitOk;
}

int CliCommands::eval(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 3) {
        err << "halvika-cli: eval needs an expression and a moment\n" << usage();
        return exitUsage;
    }
    const auto moment = Date::fromFileString(args[2]);
    if (!moment) {
        err << "halvika-cli: \"" << args[2] << "\" is not a moment of the form yyyy/mm/dd hh:nn:ss\n";
        return exitUsage;
    }
    try {
        out << (clsAdvancedDate().getDateEval(*moment, args[1]) ? "True" : "False") << '\n';
        return exitOk;
    } catch (const ExpressionError& e) {
        out << describe(e) << '\n';
        return exitUsage;
    }
}

} // namespace halvika
