#include "cli.h"

#include <iostream>

#include "common/errors.h"

namespace velmora::cli {

std::string HelpText() {
    return
        "Velmora " VELMORA_VERSION_STRING " - airconditioning specification manager, command line\n"
        "\n"
        "Usage:\n"
        "  velmora-cli psy P X1 X2 MODE [--csv]   one moist-air state\n"
        "  velmora-cli psy --batch                 states from standard input, one CSV line each\n"
        "  velmora-cli new FILE.vmi                write the default specification\n"
        "  velmora-cli report FILE.vmi [--clipboard | --json]\n"
        "                                          report, clipboard block or JSON of a file\n"
        "  velmora-cli edit FILE.vmi --set FIELD=VALUE ... [-o OUT.vmi]\n"
        "                                          edit fields as the window does, then save\n"
        "  velmora-cli --help | --version\n"
        "\n"
        "psy: P in kPa; MODE names the pair X1, X2 (held units: degC, kJ/kg, kg/kg,\n"
        "fraction, kPa, kg/m3):\n"
        "   0 db,wb   1 db,ha   2 db,wa   3 db,rh   4 db,td   5 db,pv   7 db,ro\n"
        "   8 wb,ha   9 wb,wa  10 wb,rh  11 wb,td  12 wb,pv  13 wb,ps  14 wb,ro\n"
        "  15 ha,wa  16 ha,rh  17 ha,td  18 ha,pv  19 ha,ps\n"
        "  25 wa,rh  26 wa,ps  28 rh,td  29 rh,pv  30 rh,ps  31 td,ps  32 pv,ps\n"
        "--batch reads lines \"P X1 X2 MODE\" and writes\n"
        "  pa,db,wb,ha,wa,rh,td,pv,ps,ro,cp,status\n"
        "\n"
        "edit fields: Barometer, Ambient, SetPoint, AirFlow, FreshAir, ADP, BF,\n"
        "  OnCoil, OffCoil, TotalDuty, WaterIn (air states as db/wb text).\n";
}

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    try {
        if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
            out << HelpText();
            return args.empty() ? 2 : 0;
        }
        if (args[0] == "--version") {
            out << "Velmora " VELMORA_VERSION_STRING "\n";
            return 0;
        }
        const std::string& cmd = args[0];
        std::vector<std::string> rest(args.begin() + 1, args.end());
        if (cmd == "psy") return RunPsy(rest, in, out, err);
        if (cmd == "new" || cmd == "report" || cmd == "edit") return RunSpecCommand(args, in, out, err);
        throw UsageError{"unknown command '" + cmd + "' (try --help)"};
    } catch (const UsageError& e) {
        err << "velmora-cli: " << e.message << "\n";
        return 2;
    } catch (const VelmoraError& e) {
        err << "velmora-cli: " << e.what() << "\n";
        return 2;
    } catch (const std::exception& e) {
        err << "velmora-cli: " << e.what() << "\n";
        return 2;
    }
}

}  // namespace velmora::cli
