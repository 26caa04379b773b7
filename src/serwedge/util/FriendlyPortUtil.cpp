#include "serwedge/util/FriendlyPortUtil.h"

#include "rs232/SerialPortLocal.h"

#include <algorithm>
#include <mutex>

namespace serwedge::util {
namespace {

std::mutex listMutex;
std::vector<rs232::PortDriverInfo> portInfoList;

} // namespace

void FriendlyPortUtil::update() {
    auto list = rs232::SerialPortLocal::getDriverInfoList();
    std::lock_guard lock(listMutex);
    portInfoList = std::move(list);
}

bool FriendlyPortUtil::portInfoListIsPopulated() {
    std::lock_guard lock(listMutex);
    return !portInfoList.empty();
}

std::string FriendlyPortUtil::friendlyText(const rs232::PortDriverInfo& info) {
    // FORMATSTR filled with name, description and manufacturer.
    return info.getPortName() + ": " + info.getDriverDesc() + " - " + info.getDriverMfgr();
}

std::vector<std::string> FriendlyPortUtil::getFriendlyPortList() {
    std::lock_guard lock(listMutex);
    std::vector<std::string> texts;
    texts.reserve(portInfoList.size());
    for (const auto& info : portInfoList)
        texts.push_back(friendlyText(info));
    return texts;
}

std::string FriendlyPortUtil::getFriendlyPortName(const std::string& portName) {
    std::lock_guard lock(listMutex);
    for (const auto& info : portInfoList)
        if (info.getPortName() == portName)
            return friendlyText(info);
    return portName;
}

std::string FriendlyPortUtil::refreshFriendlyPortName(const std::string& portName) {
    const auto info = rs232::SerialPortLocal::rereadPortInfo(portName);
    if (!info)
        return portName;
    std::lock_guard lock(listMutex);
    const auto held =
        std::find_if(portInfoList.begin(), portInfoList.end(), [&](const rs232::PortDriverInfo& i) {
            return i.getPortName() == info->getPortName();
        });
    if (held != portInfoList.end())
        *held = *info;
    return friendlyText(*info);
}

std::string FriendlyPortUtil::getUnfriendlyPortName(const std::string& displayText) {
    std::lock_guard lock(listMutex);
    for (const auto& info : portInfoList)
        if (friendlyText(info) == displayText)
            return info.getPortName();
    return displayText;
}

} // namespace serwedge::util
