#include "Pdu.h"

#include <new>
#include <utility>

namespace {

// Bindings of Pdus that went away, kept for the next Pdus of the same thread.
// A walk decodes up to 50 bindings an answer and frees them once printed; a
// binding and its value were two allocations to make and two to free each
// time. A kept binding keeps its value object, which the decoder sets in
// place when the next value is of the same class (Vb::reuse_value).
constexpr int kKeptBindings = 2 * PDU_MAX_VBS;

// Trivially destructible, so that it can be used until the thread ends, even
// by Pdus destroyed after the thread's own objects (statics at exit).
struct KeptBindings {
  Vb* vbs[kKeptBindings];
  int count;
  bool registered;  // the closer below will empty it at the thread's end
  bool closed;      // emptied: bindings are freed from then on
};
thread_local KeptBindings kept;

struct KeptBindingsCloser {
  ~KeptBindingsCloser() {
    while (kept.count > 0) delete kept.vbs[--kept.count];
    kept.closed = true;
  }
};

void register_closer() {
  thread_local KeptBindingsCloser closer;
  (void)closer;
  kept.registered = true;
}

// A binding to overwrite: one kept (holding an old OID and value) or a new one.
Vb* take_vb() {
  if (kept.count > 0) return kept.vbs[--kept.count];
  return new (std::nothrow) Vb();
}

// A copy of `vb`, in a kept binding when there is one.
Vb* copy_vb(const Vb& vb) {
  if (kept.count == 0) return new (std::nothrow) Vb(vb);
  Vb* copy = kept.vbs[--kept.count];
  *copy = vb;
  return copy;
}

void give_vb(Vb* vb) {
  if (!vb) return;
  if (kept.count < kKeptBindings && !kept.closed) {
    if (!kept.registered) register_closer();
    kept.vbs[kept.count++] = vb;
    return;
  }
  delete vb;
}

}  // namespace

Pdu::Pdu()
    : vbs(),
      vb_count(0),
      vb_slots(0),
      error_status(0),
      error_index(0),
      validity(1),
      request_id(0),
      pdu_type(0),
      security_level(1),
      message_id(0),
      maxsize_scopedpdu(0) {}

Pdu::Pdu(const Vb* bindings, int count) : Pdu() {
  if (count > PDU_MAX_VBS)
    validity = 0;
  else if (bindings && count > 0)
    set_vblist(bindings, count);
}

Pdu::Pdu(const Pdu& other) : Pdu() { *this = other; }

Pdu::Pdu(Pdu&& other) noexcept : Pdu() { *this = std::move(other); }

Pdu::~Pdu() { delete_all_vbs(); }

void Pdu::delete_all_vbs() {
  for (int i = 0; i < vb_slots; ++i) {
    give_vb(vbs[i]);
    vbs[i] = nullptr;
  }
  vb_count = 0;
  vb_slots = 0;
}

Pdu& Pdu::operator=(Pdu&& other) noexcept {
  if (this == &other) return *this;
  copy_header(other);
  delete_all_vbs();
  for (int i = 0; i < other.vb_slots; ++i) {
    vbs[i] = other.vbs[i];
    other.vbs[i] = nullptr;
  }
  vb_count = other.vb_count;
  vb_slots = other.vb_slots;
  other.vb_count = 0;
  other.vb_slots = 0;
  validity = other.validity;
  return *this;
}

void Pdu::clear_for_reuse() {
  vb_count = 0;
  error_status = 0;
  error_index = 0;
  validity = 1;
  request_id = 0;
  pdu_type = 0;
  notify_timestamp = TimeTicks();
  notify_id = Oid();
  notify_enterprise = Oid();
  security_level = 1;
  message_id = 0;
  maxsize_scopedpdu = 0;
  context_name = OctetStr();
  context_engine_id = OctetStr();
}

Vb* Pdu::add_vb() {
  if (vb_count >= PDU_MAX_VBS) return nullptr;
  if (!vbs[vb_count]) {
    vbs[vb_count] = take_vb();
    if (!vbs[vb_count]) {
      validity = 0;
      return nullptr;
    }
    if (vb_slots <= vb_count) vb_slots = vb_count + 1;
  }
  validity = 1;
  return vbs[vb_count++];
}

bool Pdu::copy_vbs(Vb* const* in, int count) {
  delete_all_vbs();
  for (int i = 0; i < count; ++i) {
    vbs[i] = copy_vb(*in[i]);
    if (!vbs[i]) {
      delete_all_vbs();
      return false;
    }
    vb_count = vb_slots = i + 1;
  }
  return true;
}

void Pdu::copy_header(const Pdu& other) {
  error_status = other.error_status;
  error_index = other.error_index;
  request_id = other.request_id;
  pdu_type = other.pdu_type;
  notify_id = other.notify_id;
  notify_timestamp = other.notify_timestamp;
  notify_enterprise = other.notify_enterprise;
  security_level = other.security_level;
  message_id = other.message_id;
  context_name = other.context_name;
  context_engine_id = other.context_engine_id;
  maxsize_scopedpdu = other.maxsize_scopedpdu;
}

Pdu& Pdu::operator=(const Pdu& other) {
  if (this == &other) return *this;
  copy_header(other);
  validity = copy_vbs(other.vbs, other.vb_count) ? 1 : 0;
  return *this;
}

Pdu& Pdu::operator+=(const Vb& vb) {
  if (vb_count >= PDU_MAX_VBS) return *this;
  if (vbs[vb_count]) {
    *vbs[vb_count] = vb;  // a binding kept by clear_for_reuse
  } else {
    vbs[vb_count] = copy_vb(vb);
    if (!vbs[vb_count]) {
      validity = 0;
      return *this;
    }
    if (vb_slots <= vb_count) vb_slots = vb_count + 1;
  }
  ++vb_count;
  validity = 1;
  return *this;
}

int Pdu::get_vblist(Vb* out, int count) const {
  if (!out || count < 0 || count > vb_count) return 0;
  for (int i = 0; i < count; ++i) out[i] = *vbs[i];
  return 1;
}

int Pdu::set_vblist(const Vb* in, int count) {
  if (!in || count < 0 || count > PDU_MAX_VBS) return 0;
  delete_all_vbs();
  error_status = 0;
  error_index = 0;
  validity = 1;
  if (count == 0) {
    request_id = 0;
    return 0;
  }
  for (int i = 0; i < count; ++i) {
    vbs[i] = copy_vb(in[i]);
    if (!vbs[i]) {
      delete_all_vbs();
      validity = 0;
      return 0;
    }
    vb_count = vb_slots = i + 1;
  }
  return 1;
}

int Pdu::get_vb(Vb& out, int index) const {
  if (index < 0 || index >= vb_count) return 0;
  out = *vbs[index];
  return 1;
}

int Pdu::set_vb(const Vb& vb, int index) {
  if (index < 0 || index >= vb_count) return 0;
  // A copy first: the binding given may be the one replaced.
  Vb* copy = copy_vb(vb);
  if (!copy) {
    validity = 0;
    return 0;
  }
  give_vb(vbs[index]);
  vbs[index] = copy;
  return 1;
}

int Pdu::trim(int count) {
  if (count < 0 || count > vb_count) return 0;
  while (count-- > 0) {
    give_vb(vbs[--vb_count]);
    vbs[vb_count] = nullptr;
  }
  return 1;
}

int Pdu::delete_vb(int index) {
  if (index < 0 || index >= vb_count) return 0;
  give_vb(vbs[index]);
  for (int i = index; i + 1 < vb_count; ++i) vbs[i] = vbs[i + 1];
  vbs[--vb_count] = nullptr;
  return 1;
}

void set_error_status(Pdu* pdu, int status) {
  if (pdu) pdu->error_status = status;
}
void set_error_index(Pdu* pdu, int index) {
  if (pdu) pdu->error_index = index;
}
void clear_error_status(Pdu* pdu) {
  if (pdu) pdu->error_status = 0;
}
void clear_error_index(Pdu* pdu) {
  if (pdu) pdu->error_index = 0;
}
void set_request_id(Pdu* pdu, unsigned long id) {
  if (pdu) pdu->request_id = static_cast<uint32_t>(id);
}
