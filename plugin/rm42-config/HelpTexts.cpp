// SPDX-License-Identifier: Apache-2.0
// What rm42-config says of its subcommands: the usage line of each (the
// words its command line takes) and the text of --help.
#include "Subcommands.h"

const std::vector<Subcommand>& subcommands() {
    static const std::vector<Subcommand> list = {
        {"show", "show    NETWORK DEVICE [--units US|SI] [--json] [--interface NAME]",
         "Prints the device's state, model and HVAC type, then every field by the window's\n"
         "tabs with its value, unit and limits.\n"
         "  --units US|SI     the unit system (default: the plug-in's display units)\n"
         "  --json            one JSON document instead of the table\n"
         "  --interface NAME  open the network through this network interface\n",
         runShow},
        {"save",
         "save    NETWORK (DEVICE [-o FILE] | --subsystem PATH -o DIR | --all -o DIR) "
         "[--jobs N] [--json] [--interface NAME]",
         "Saves a device's configuration (Imperial values) to FILE or standard output; or\n"
         "every thermostat of a subsystem or of the network into DIR, a new or empty\n"
         "folder: one file per device named after its subsystem path\n"
         "(\"Floor 1_RTU-1.json\") and a manifest.json that rm42-config restore reads. An\n"
         "existing FILE is replaced only by a complete file.\n"
         "  -o FILE|DIR       where to save (\"-\" or none: standard output)\n"
         "  --subsystem PATH  the thermostats of one subsystem\n"
         "  --all             every thermostat of the network\n"
         "  --jobs N          devices worked on at once, 1 to 64; the output is the same\n"
         "                    as one at a time. By default one, then twice as many while\n"
         "                    the devices done per second rise by a tenth, then as many\n"
         "                    as fill the channel (the best rate times one device's time,\n"
         "                    and a tenth more)\n"
         "  --json            the results as one JSON document (needs -o)\n"
         "  --interface NAME  open the network through this network interface\n",
         runSave},
        {"check", "check   FILE [--json]",
         "Checks a configuration file: its form, every value against the field's limits\n"
         "and the setpoint rules. Every offending field is named; exit status 2 on a\n"
         "problem.\n"
         "  --json            the result as one JSON document\n",
         runCheck},
        {"apply",
         "apply   NETWORK FILE (DEVICE... | --subsystem PATH | --all) [--only FIELD,...] "
         "[--dry-run] [--backup DIR] [--log FILE] [--include-location] [--jobs N] [--json] "
         "[--interface NAME]",
         "Writes the file's values to each device, only those that differ. The file, the\n"
         "log and the backup folder are checked before the first device is written.\n"
         "  --only FIELD,...    apply these fields of the file only\n"
         "  --dry-run           print what would change, write nothing\n"
         "  --backup DIR        save each device before it is changed, in a new folder\n"
         "                      DIR/DATE-TIME of its own per run (restore undoes the run);\n"
         "                      a device whose backup fails is not written\n"
         "  --log FILE          add the run's activity to FILE, each row with its date and\n"
         "                      time; a device's \"Updating device\" row comes before its\n"
         "                      first write: without the device's own rows after it, the\n"
         "                      run was stopped while writing it; some values may be sent\n"
         "  --include-location  write the location too\n"
         "  --jobs N            devices worked on at once, 1 to 64; the output and the\n"
         "                      log are the same as one at a time. By default one, then\n"
         "                      twice as many while the devices done per second rise by\n"
         "                      a tenth, then as many as fill the channel (the best rate\n"
         "                      times one device's time, and a tenth more)\n"
         "  --json              the results as one JSON document\n"
         "  --interface NAME    open the network through this network interface\n",
         runApply},
        {"restore",
         "restore NETWORK DIR [--only DEVICE...] [--fields FIELD,...] [--dry-run] [--log FILE] "
         "[--jobs N] [--into-network] [--json] [--interface NAME]",
         "Writes every file of a folder made by save --all (or by apply --backup) back to\n"
         "the device it was saved from, location included. The manifest's checksums and\n"
         "every file are checked before the first device is written: links out of DIR, two\n"
         "entries for one device and a manifest that contradicts a file are refused.\n"
         "  --only DEVICE...    these devices of the manifest only, each SUBSYSTEM/DEVICE\n"
         "                      or a name\n"
         "  --fields FIELD,...  these fields of each file only\n"
         "  --dry-run           print what would change, write nothing\n"
         "  --log FILE          add the run's activity to FILE, each row with its date and\n"
         "                      time; a device's \"Updating device\" row comes before its\n"
         "                      first write: without the device's own rows after it, the\n"
         "                      run was stopped while writing it; some values may be sent\n"
         "  --jobs N            devices worked on at once, 1 to 64; the output and the\n"
         "                      log are the same as one at a time. By default one, then\n"
         "                      twice as many while the devices done per second rise by\n"
         "                      a tenth, then as many as fill the channel (the best rate\n"
         "                      times one device's time, and a tenth more)\n"
         "  --json              the results as one JSON document\n"
         "  --into-network      restore into NETWORK a site saved from another network\n"
         "  --interface NAME    open the network through this network interface\n",
         runRestore},
        {"set",
         "set     NETWORK DEVICE FIELD=VALUE... [--units US|SI] [--dry-run] [--interface NAME]",
         "Checks and writes a few fields given on the command line, as apply does.\n"
         "  --units US|SI     the unit system of the values (default: the display units)\n"
         "  --dry-run         print what would change, write nothing\n"
         "  --interface NAME  open the network through this network interface\n",
         runSet},
        {"diff", "diff    A B [--units US|SI] [--json] [--interface NAME]",
         "Compares two thermostat configurations, each A and B a device (NETWORK DEVICE),\n"
         "a saved file or a site folder written by save --all: the values that differ,\n"
         "with their descriptions and both values in one unit system, and values one side\n"
         "lacks; two site folders are compared device by device, naming the devices only\n"
         "one holds. Two texts the device holds alike are the same (20 and 20.00). Exit\n"
         "status 0 the same, 1 different, 2 trouble, as diff(1).\n"
         "  --units US|SI     the unit system shown (default: A's; a device's is the\n"
         "                    display units)\n"
         "  --json            one JSON document instead of the text\n"
         "  --interface NAME  open a network through this network interface\n",
         runDiff},
        {"report",
         "report  (NETWORK [DEVICE... | --subsystem PATH | --all] | SITE-DIR) -o FILE "
         "[--units US|SI] [--jobs N] [--json] [--interface NAME]",
         "Writes a commissioning report of thermostats as they are now, read from the\n"
         "devices (every thermostat when none is named), or as a site folder written by\n"
         "save --all holds them, without a network. FILE's extension names the form: .csv\n"
         "(a row per thermostat, a column per field), .html or .pdf (a first page listing\n"
         "every thermostat, then a page per thermostat by the window's tabs). A device\n"
         "that cannot be read is listed with the reason, and the exit status is 1.\n"
         "  -o FILE           the report, .csv, .html or .pdf\n"
         "  --units US|SI     the unit system of the values (default: the display units)\n"
         "  --jobs N          devices read at once, 1 to 64; by default as many as fill\n"
         "                    the channel, as save finds them\n"
         "  --json            the results as one JSON document\n"
         "  --interface NAME  open the network through this network interface\n",
         runReport},
    };
    return list;
}
