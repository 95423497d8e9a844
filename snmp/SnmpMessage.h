// One SNMP message: a Pdu with its version and community or SNMPv3 security
// data, encoded into bytes, and received bytes decoded back into a Pdu.
// Versions 1 and 2c go through the plain record of snmp_pdu.h; version 3
// messages are handed to the message-processing model (mp_v3.h).
#pragma once

#include <cstdint>
#include <vector>

#include "Address.h"
#include "OctetStr.h"
#include "Pdu.h"
#include "snmp_constants.h"

// Copies a binding's value into `smival`. Strings, addresses and identifiers
// get an allocated copy that freeSmivalDescriptor releases. 0; -2 when memory
// runs out; -3 for a syntax the coder does not send (BIT STRING among them).
int convertVbToSmival(const Vb& vb, SmiVALUE* smival);
void freeSmivalDescriptor(SmiVALUE* smival);

class SnmpMessage {
 public:
  SnmpMessage() = default;

  // Takes received bytes, up to a whole UDP datagram (SNMP_MAX_DATAGRAM): 0,
  // or 8 when there are more (the message is then invalid).
  int load(const unsigned char* data, unsigned long len);

  // Encodes `pdu` (its type is the wire type). For version 3 the engine id
  // and security name must be given (null gives -12); an empty engine id is a
  // discovery message. 0 on success; -11 for an invalid Pdu, -15 for a
  // version-1 trap whose notification id has fewer than two sub-identifiers,
  // -1 when the message does not fit in SNMP_MSG_LENGTH bytes, the status of the failing conversion or
  // of the SNMPv3 message processing, or 1 for a version 3 response larger
  // than the requester's maximum size.
  int load(const Pdu& pdu, const OctetStr& community, snmp_version version, const OctetStr* engine_id = nullptr,
           const OctetStr* security_name = nullptr, int security_model = SNMP_SECURITY_MODEL_USM);

  // Decodes the message into `pdu` (cleared first). With engine id, security
  // name and security model given, the message is taken as version 3 and goes
  // to the message processing; otherwise it is a version 1 or 2c message whose
  // community is returned. 0 on success, else the coder's or the message
  // processing's status (-10 for a message that holds nothing valid).
  int unload(Pdu& pdu, OctetStr& community, snmp_version& version, OctetStr* engine_id = nullptr,
             OctetStr* security_name = nullptr, int32_t* security_model = nullptr,
             const UdpAddress* from = nullptr);
  // The version 3 form, given the sender's address for reports.
  int unloadv3(Pdu& pdu, snmp_version& version, OctetStr& engine_id, OctetStr& security_name,
               int32_t& security_model, const UdpAddress& from);

  bool is_v3_message() const;

  const unsigned char* data() const { return databuff.data(); }
  unsigned long len() const { return static_cast<unsigned long>(databuff.size()); }
  int valid() const { return valid_flag; }

 private:
  std::vector<unsigned char> databuff;
  int valid_flag = 0;
};
