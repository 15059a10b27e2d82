#include "failure/report.h"

#include <cstdio>
#include <new>

#include "failure/failure.h"
#include "platform/process.h"

namespace combogen {

std::string FormatReport(std::string_view kindName, std::string_view moduleName,
                         std::uintptr_t offset, std::string_view message) {
    char offsetText[9];
    std::snprintf(offsetText, sizeof offsetText, "%08X", static_cast<unsigned>(offset));
    const bool addFullStop = !message.empty() && message.back() != '.';

    std::string report = "Exception ";
    report.append(kindName).append(" in module ").append(moduleName);
    report.append(" at ").append(offsetText).append(".\r\n").append(message);
    if (addFullStop) report += '.';
    report += "\r\n";
    if (report.size() > ReportCapacity) report.resize(ReportCapacity);
    return report;
}

void ReportFailure(std::exception_ptr failure, std::string_view programName) {
    // Failures of our own kinds carry the place that raised them; any other is placed here.
    std::string_view kind = "Exception";
    std::string message;
    const void* location = __builtin_return_address(0);
    try {
        std::rethrow_exception(failure);
    } catch (const Exception& e) {
        kind = e.KindName();
        message = e.Message;
        location = e.Location;
    } catch (const std::bad_alloc&) {
        kind = "EOutOfMemory";
        message = "Out of memory";
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
    }
    OfferFailureToSystem(location);
    const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(location);
    std::string report = FormatReport(kind, ModuleNameOf(location, programName),
                                      address - ModuleBaseOf(location), message);
    ConvertForConsole(report);
    WriteStandardError(report);
    WriteStandardError("\r\n");
    EndProcess(1);
}

}  // namespace combogen
