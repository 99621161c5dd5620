// automation.ini and the small file of what ran beside it: any bytes are read
// without a fault; each problem names a line of the file; what is read is
// written back and read again the same, with nothing left out; and the file
// of what ran reads back as it is written.
#include "FuzzCheck.h"
#include "automation/AutomationFile.h"
#include "automation/RunStateFile.h"

using automation::AutomationFile;
using automation::RunStateFile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes = fuzz::bytes(data, size);
    const AutomationFile file = AutomationFile::parse(bytes);
    const qsizetype lines = bytes.count('\n') + bytes.count('\r') + 1;
    FUZZ_CHECK(file.problems.size() <= AutomationFile::maxProblems);
    for (const AutomationFile::Problem &p : file.problems) {
        FUZZ_CHECK(p.line >= 1 && p.line <= lines);
        FUZZ_CHECK(!p.what.isEmpty() && p.what.size() < 1000);
    }
    FUZZ_CHECK(file.salvos.size() <= AutomationFile::maxSections);
    if (size <= fuzz::compareLimit) {
        const AutomationFile back = AutomationFile::parse(file.bytes());
        FUZZ_CHECK(back.problems.isEmpty());
        FUZZ_CHECK(back.sameSetup(file));
        FUZZ_CHECK(file.faults().isEmpty());
    }

    const RunStateFile state = RunStateFile::parse(bytes);
    FUZZ_CHECK(state.tours.size() <= RunStateFile::maxTours);
    FUZZ_CHECK(RunStateFile::parse(state.bytes()) == state);
    return 0;
}
