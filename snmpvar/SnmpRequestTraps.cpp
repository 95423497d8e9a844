// Trap and inform receipt for a request object over the global session.
#include "CVHException.h"
#include "NotifyQueue.h"
#include "Snmp.h"
#include "SnmpRequest.h"
#include "SnmpSession.h"
#include "SnmpValueText.h"

namespace {

// The word a received binding is filed under, by its syntax; null for
// syntaxes that a trap list does not carry.
const char* TypeWord(SmiUINT32 syntax) {
  switch (syntax) {
    case sNMP_SYNTAX_INT: return "Int";
    case sNMP_SYNTAX_BITS: return "Bits";
    case sNMP_SYNTAX_OCTETS: return "Hex";
    case sNMP_SYNTAX_OID: return "Oid";
    case sNMP_SYNTAX_IPADDR: return "IPaddr";
    case sNMP_SYNTAX_CNTR32: return "Int32";
    case sNMP_SYNTAX_GAUGE32: return "Gauge32";
    case sNMP_SYNTAX_TIMETICKS: return "TimeTicks";
    case sNMP_SYNTAX_OPAQUE: return "Opaque";
    case sNMP_SYNTAX_CNTR64: return "Count64";
    default: return nullptr;
  }
}

}  // namespace

void SnmpRequest::ListenTraps(unsigned short port, SnmpRequestCallback callback) {
  Snmp* session = SnmpGlobalSession;
  int status = SNMP_CLASS_INVALID;
  if (session) {
    CNotifyEventQueue::set_listen_port(port);
    m_pTrapCallback = callback;
    SnmpCollection<Oid> anyTrap;
    SnmpCollection<SnmpTarget> anySender;
    status = session->notify_register(anyTrap, anySender, &SnmpRequest::TrapCallback, this);
  }
  int code;
  CString message;
  MapSnmpStatus(status, &code, &message);
  if (code != 0) {
    m_pTrapCallback = nullptr;
    throw new CVHException(message, code);
  }
}

void SnmpRequest::StopTraps() {
  Snmp* session = SnmpGlobalSession;
  if (session && session->get_notify_callback() == &SnmpRequest::TrapCallback &&
      session->get_notify_callback_data() == this)
    session->notify_unregister();
  m_pTrapCallback = nullptr;
}

void SnmpRequest::TrapCallback(int status, Snmp* session, Pdu& pdu, SnmpTarget& target, void* data) {
  if (data) static_cast<SnmpRequest*>(data)->OnTrap(status, session, pdu, target);
}

void SnmpRequest::OnTrap(int status, Snmp*, Pdu& pdu, SnmpTarget& target) {
  if (!m_pTrapCallback) return;
  SnmpRequestResult result{};
  result.strMessage = Snmp::error_msg(status);
  FillAgent(target, result);
  result.bFinished = 1;
  SnmpVarList list;
  if (pdu.get_error_status() != 0) {
    // A notification that carries an error is not reported as a success.
    MapSnmpStatus(pdu.get_error_status(), &result.nCode, &result.strMessage);
    m_pTrapCallback(&result, &list, nullptr);
    return;
  }
  Oid id, enterprise;
  pdu.get_notify_id(id);
  pdu.get_notify_enterprise(enterprise);
  result.strNotifyId = id.get_printable();
  result.strEnterprise = enterprise.get_printable();
  int version = static_cast<int>(target.get_version());
  if (version >= 0 && version <= 3) {
    for (int i = 0; i < pdu.get_vb_count(); ++i) {
      const Vb& vb = pdu[i];
      const char* word = TypeWord(vb.get_syntax());
      if (!word) continue;
      list.Add(vb.get_printable_oid(), word, static_cast<int>(vb.get_syntax()), SVA_READ);
      SnmpVarItem* item = list.GetItem(list.GetCount() - 1);
      *item->value = vb.get_printable_value();
      *item->cursor = vb.get_printable_value();
    }
  }
  m_pTrapCallback(&result, &list, nullptr);
}
