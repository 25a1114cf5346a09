#include "deletion/PassMessage.h"

#include "accounting/TrashSnapshot.h"
#include "platform/Strings.h"
#include "platform/posix/Files.h"

namespace bw {

namespace {

// Nothing went: what could not go, by name, rather than a count of nothing.
PassMessage failureMessage(Strings& strings, const PassFacts& pass)
{
    PassMessage message;
    message.summary = countedText(strings, pass.totals.failed, "Could not delete 1 item", "Could not delete %1 items");
    message.text = pass.failedItems.empty() ? std::string() : posix::lastComponent(pass.failedItems.front());
    if (const long more = static_cast<long>(pass.failedItems.size()) - 1; more > 0)
        message.text = more == 1 ? localizedWith(strings, "%1 and 1 more", {message.text})
                                 : localizedWith(strings, "%1 and %2 more",
                                                 {message.text, strings.localFigure(std::to_string(more))});
    return message;
}

} // namespace

PassMessage passMessage(Strings& strings, const PassFacts& pass, const std::string& size)
{
    const PassTotals& totals = pass.totals;
    if (totals.deleted == 0 && totals.failed > 0)
        return failureMessage(strings, pass);
    PassMessage message;
    message.text = totals.deleted == 1 ? localizedWith(strings, "Deleted 1 item (%1)", {size})
                                       : localizedWith(strings, "Deleted %1 items (%2)",
                                                       {strings.localFigure(std::to_string(totals.deleted)), size});
    std::string names;
    for (const std::string& name : pass.trashes)
        names += (names.empty() ? "" : ", ") + name;
    if (!pass.trashes.empty())
        message.text = localizedWith(
            strings, pass.trashes.size() == 1 ? "%1 from the trash on %2" : "%1 from the trashes on %2", {message.text, names});
    // Whole sentences for one and for many: the verb agrees with the count in most languages.
    if (totals.failed == 1)
        message.text = localizedWith(strings, "%1; 1 item could not be deleted", {message.text});
    else if (totals.failed > 1)
        message.text = localizedWith(strings, "%1; %2 items could not be deleted",
                                     {message.text, strings.localFigure(std::to_string(totals.failed))});
    message.summary =
        strings.localized(!pass.forced ? "Trash items deleted" : pass.stopped ? "Emptying stopped" : "Trash emptied");
    return message;
}

std::string notifiedSize(Strings& strings, double bytes)
{
    std::string size = strings.localFigure(readableSize(bytes));
    if (const size_t space = size.find(' '); space != std::string::npos)
        size.replace(space, 1, "\u00a0");
    return size;
}

} // namespace bw
