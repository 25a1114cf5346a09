#include "tests/support/FakeStatusItem.h"

namespace bw::test {

void FakeStatusItem::show()
{
    std::lock_guard lock(mutex_);
    shown_ = true;
}

void FakeStatusItem::setImage(const std::string& fileName)
{
    std::lock_guard lock(mutex_);
    image_ = fileName;
    ++updates_;
}

void FakeStatusItem::setToolTip(const std::string& text)
{
    std::lock_guard lock(mutex_);
    toolTip_ = text;
    ++updates_;
}

void FakeStatusItem::setFigures(const ToolTipFigures& figures)
{
    std::lock_guard lock(mutex_);
    figures_ = figures;
}

ToolTipFigures FakeStatusItem::figures() const
{
    std::lock_guard lock(mutex_);
    return figures_;
}

std::string FakeStatusItem::image() const
{
    std::lock_guard lock(mutex_);
    return image_;
}

std::string FakeStatusItem::toolTip() const
{
    std::lock_guard lock(mutex_);
    return toolTip_;
}

bool FakeStatusItem::shown() const
{
    std::lock_guard lock(mutex_);
    return shown_;
}

int FakeStatusItem::updates() const
{
    std::lock_guard lock(mutex_);
    return updates_;
}

} // namespace bw::test
