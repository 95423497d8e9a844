#include "Mib.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "QuavCodec.h"

namespace apsim {

namespace {

Oid ParseOid(const std::string& text) {
  Oid oid;
  std::stringstream in(text);
  std::string arc;
  while (std::getline(in, arc, '.')) oid.push_back(static_cast<uint32_t>(std::stoul(arc)));
  return oid;
}

uint8_t MibTag(const MibObject& o) { return o.syntax == 'i' ? kInteger : o.syntax == 'a' ? kIpAddress : kOctets; }

}  // namespace

const std::vector<MibObject>& Mib() {
  static const std::vector<MibObject> mib = [] {
    const std::string p = "1.3.6.1.4.1.32473.10.37.40.";
    const std::string wlan = "2.1.3.3.1.1.1.", sec = "2.1.3.3.2.1.1.";
    const std::vector<int> off_on = {0, 1};
    std::vector<MibObject> m;
    auto add = [&](const std::string& name, const std::string& suffix, char syntax, bool writable,
                   std::vector<int> options, const std::string& initial, const std::string& key = "") {
      m.push_back({name, ParseOid(p + suffix), syntax, writable, std::move(options), initial, key.empty() ? name : key});
    };
    // Lists of item type 0 reach these with ".0" appended.
    add("dot11APTrevakStatus", "3.11.1.1.1.0", 'i', true, off_on, "0");
    add("dot11APTrevakModeSelect", "3.11.1.1.2.0", 'i', true, {1, 2, 3}, "1");
    add("dot11ApTrevakName", "3.11.1.1.3.0", 's', true, {}, "");
    add("dot11ApTrevakPassword", "3.11.1.1.4.0", 's', true, {}, "");
    add("dot11APTrevakVersion", "3.11.1.1.5.0", 'i', true, {}, "0");
    add("deviceSettingApply", "4.2.3.0", 'i', true, off_on, "0");
    add("deviceRestart", "4.2.1.0", 'i', true, off_on, "0");
    add("dot11ApMode", wlan + "28.1", 'i', true, {1, 2, 3, 4, 5}, "1");
    add("dot11APTrevakSyncSSIDStatus", "3.11.3.1.1.2.1", 'i', true, off_on, "0");
    add("dot11APTrevakSyncSsidHiddenStatus", "3.11.3.1.1.3.1", 'i', true, off_on, "0");
    add("dot11APTrevakSyncAutoChannelStatus", "3.11.3.1.1.4.1", 'i', true, off_on, "0");
    add("dot11APTrevakSyncSecurityStatus", "3.11.3.1.1.6.1", 'i', true, off_on, "0");
    add("dot11APTrevakSyncLoginStatus", "3.11.3.1.1.32.1", 'i', true, off_on, "0");
    add("usersName", "4.1.1.1.2.1", 's', true, {}, "admin");
    add("usersPassword", "4.1.1.1.3.1", 's', true, {}, "", "password");
    add("dot11Ssid", wlan + "1.1", 's', true, {}, "RIZ-4410");
    add("dot11Channel", wlan + "3.1", 'i', true, {}, "6");
    add("dot11ChannelList", wlan + "4.1", 's', false, {}, "1 2 3 4 5 6 7 8 9 10 11");
    add("dot11AutoChannelScan", wlan + "24.1", 'i', true, off_on, "1");
    add("dot11Band", wlan + "34.1", 'i', true, off_on, "0");
    add("dot11Band5GHzChannelList", wlan + "37.1", 's', false, {}, "36 40 44 48");
    add("dot11Country", wlan + "39.1", 's', true, {}, "US");
    add("dot11Mssid", "3.3.1.1.1.1", 'i', true, off_on, "0");
    add("dot11Authentication", sec + "1.1", 'i', true, {1, 2, 4, 5, 6, 7, 8, 9, 10}, "1");
    add("dot11Encryption", sec + "2.1", 'i', true, off_on, "0");
    add("dot11KeyIndex", sec + "3.1", 'i', true, {1, 2, 3, 4}, "1");
    add("dot11PassPhrase", sec + "4.1", 's', true, {}, "");
    add("dot11CipherType", sec + "5.1", 'i', true, {1, 2, 3}, "1");
    add("dot11GroupKeyUpdateInterval", sec + "6.1", 'i', true, {}, "3600");
    add("dot11PrimaryRadiusServer", sec + "8.1", 'a', true, {}, "0.0.0.0");
    add("dot11PrimaryRadiusPort", sec + "9.1", 'i', true, {}, "1812");
    add("dot11PrimaryRadiusSecret", sec + "10.1", 's', true, {}, "");
    add("dot11SecondaryRadiusServer", sec + "11.1", 'a', true, {}, "0.0.0.0");
    add("dot11SecondaryRadiusPort", sec + "12.1", 'i', true, {}, "1812");
    add("dot11SecondaryRadiusSecret", sec + "13.1", 's', true, {}, "");
    add("dot11PrimaryAccountingStatus", sec + "14.1", 'i', true, off_on, "0");
    add("dot11PrimaryAccountingServer", sec + "15.1", 'a', true, {}, "0.0.0.0");
    add("dot11PrimaryAccountingServerPort", sec + "16.1", 'i', true, {}, "1813");
    add("dot11PrimaryAccountingPassPhrase", sec + "17.1", 's', true, {}, "");
    add("dot11SecondaryAccountingServer", sec + "19.1", 'a', true, {}, "0.0.0.0");
    add("dot11SecondaryAccountingServerPort", sec + "20.1", 'i', true, {}, "1813");
    add("dot11SecondaryAccountingPassPhrase", sec + "21.1", 's', true, {}, "");
    add("dot11NetworkAccessProtection", sec + "22.1", 'i', true, off_on, "0");
    add("dot11RadiusSource", sec + "23.1", 'i', true, {1, 2}, "1");
    add("dot11RadiusKeyUpdateInterval", sec + "24.1", 'i', true, {}, "0");
    add("dot11AutoRekeyControl", sec + "29.1", 'i', true, off_on, "0");
    add("dot11AutoRekeyStartWeek", sec + "30.1", 'i', true, {0, 1, 2, 3, 4, 5, 6}, "0");
    add("dot11AutoRekeyStartTime", sec + "31.1", 's', true, {}, "00:00");
    add("dot11AutoRekeyTimeInterval", sec + "32.1", 'i', true, {}, "0");
    add("dot11AutoRekeyPassPhrase", sec + "33.1", 's', false, {}, "");
    for (int k = 1; k <= 4; ++k) {
      std::string row = "." + std::to_string(k);
      add("dot11WepKeyEntryMethod" + row, "2.1.3.3.2.2.1.2.1" + row, 'i', true, {1, 2}, "1");
      add("dot11WepKey" + row, "2.1.3.3.2.2.1.3.1" + row, 's', true, {}, "");
    }
    std::sort(m.begin(), m.end(), [](const MibObject& a, const MibObject& b) { return a.oid < b.oid; });
    return m;
  }();
  return mib;
}

const MibObject* MibByName(const std::string& name) {
  for (const MibObject& o : Mib())
    if (o.name == name) return &o;
  return nullptr;
}

const MibObject* MibByOid(const Oid& oid) {
  for (const MibObject& o : Mib())
    if (o.oid == oid) return &o;
  return nullptr;
}

bool MibValueFits(const MibObject& o, const std::string& text) {
  if (o.syntax == 'a') {
    in_addr a{};
    return inet_pton(AF_INET, text.c_str(), &a) == 1;
  }
  if (o.syntax == 's') return text.size() <= 255;
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || *end || errno || v < INT32_MIN || v > INT32_MAX) return false;
  return o.options.empty() || std::find(o.options.begin(), o.options.end(), v) != o.options.end();
}

// An IpAddress has the bytes of a QUAV address (type 13).
VarBind MibBind(const MibObject& o, const std::string& text) {
  VarBind vb;
  vb.oid = o.oid;
  vb.tag = MibTag(o);
  if (o.syntax == 'i') vb.value = IntegerContent(std::strtoll(text.c_str(), nullptr, 10));
  else if (o.syntax == 'a') vb.value = EncodeValue(13, text);
  else vb.value.assign(text.begin(), text.end());
  return vb;
}

std::optional<std::string> BindText(const MibObject& o, const VarBind& vb) {
  if (vb.tag != MibTag(o)) return std::nullopt;
  if (o.syntax == 'a') return vb.value.size() == 4 ? DecodeValue(13, vb.value) : "";
  if (o.syntax == 's') return std::string(vb.value.begin(), vb.value.end());
  auto v = DecodeInteger(vb.value);
  return v ? std::to_string(*v) : std::string();  // no integer of 32 bits: a value no object takes
}

}  // namespace apsim
