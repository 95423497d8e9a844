// Protocol data unit: up to 50 variable bindings with the header fields of a
// request, response or notification, and the SNMPv3 scoped-PDU fields.
#pragma once

#include "OctetStr.h"
#include "TimeTicks.h"
#include "Vb.h"

class Pdu {
 public:
  Pdu();
  // More than 50 bindings leave the Pdu invalid and empty.
  Pdu(const Vb* bindings, int count);
  Pdu(const Pdu& other);
  // Takes the other's bindings over without copies; the other keeps its
  // header fields and is left with no bindings.
  Pdu(Pdu&& other) noexcept;
  virtual ~Pdu();
  Pdu& operator=(const Pdu& other);
  Pdu& operator=(Pdu&& other) noexcept;

  // Appends a copy; with 50 held nothing changes.
  Pdu& operator+=(const Vb& vb);

  // For decoders. `clear_for_reuse` makes the Pdu what Pdu() makes, but keeps
  // its binding objects; `add_vb` appends a binding and returns it to be
  // filled in: one kept from before, by this Pdu or by one freed on this
  // thread (still holding its old OID and value, which the caller
  // overwrites), or a new empty one. Null when 50 are held, or when memory
  // runs out (the Pdu is then invalid).
  void clear_for_reuse();
  Vb* add_vb();

  int get_vblist(Vb* out, int count) const;
  int set_vblist(const Vb* in, int count);
  int get_vb(Vb& out, int index) const;
  int set_vb(const Vb& vb, int index);
  int get_vb_count() const { return vb_count; }
  // The binding at a 0-based index; the caller keeps it below the count.
  const Vb& operator[](int index) const { return *vbs[index]; }

  int get_error_status() const { return error_status; }
  int get_error_index() const { return error_index; }
  unsigned long get_request_id() const { return request_id; }
  int valid() const { return validity; }
  unsigned short get_type() const { return pdu_type; }
  void set_type(unsigned short type) { pdu_type = type; }

  int trim(int count = 1);
  int delete_vb(int index);

  void set_notify_timestamp(const TimeTicks& ts) { notify_timestamp = ts; }
  void get_notify_timestamp(TimeTicks& ts) const { ts = notify_timestamp; }
  void set_notify_id(const Oid& id) { notify_id = id; }
  void get_notify_id(Oid& id) const { id = notify_id; }
  void set_notify_enterprise(const Oid& e) { notify_enterprise = e; }
  void get_notify_enterprise(Oid& e) const { e = notify_enterprise; }

  void set_security_level(int level) { security_level = level; }
  int get_security_level() const { return security_level; }
  void set_message_id(unsigned long id) { message_id = static_cast<uint32_t>(id); }
  unsigned long get_message_id() const { return message_id; }
  void set_maxsize_scopedpdu(unsigned long size) { maxsize_scopedpdu = static_cast<uint32_t>(size); }
  unsigned long get_maxsize_scopedpdu() const { return maxsize_scopedpdu; }
  void set_context_name(const OctetStr& name) { context_name = name; }
  void set_context_name(const char* name) { context_name = name; }
  void get_context_name(OctetStr& out) const { out = context_name; }
  const OctetStr& get_context_name() const { return context_name; }
  void set_context_engine_id(const OctetStr& id) { context_engine_id = id; }
  void set_context_engine_id(const char* id) { context_engine_id = id; }
  void get_context_engine_id(OctetStr& out) const { out = context_engine_id; }
  const OctetStr& get_context_engine_id() const { return context_engine_id; }

  friend void set_error_status(Pdu* pdu, int status);
  friend void set_error_index(Pdu* pdu, int index);
  friend void clear_error_status(Pdu* pdu);
  friend void clear_error_index(Pdu* pdu);
  friend void set_request_id(Pdu* pdu, unsigned long id);

 private:
  void delete_all_vbs();
  // Every field but the bindings and the valid flag.
  void copy_header(const Pdu& other);
  // Replaces the bindings with copies of `count` of `in`; false when memory ran out.
  bool copy_vbs(Vb* const* in, int count);

  // Slots from vb_count on are null or hold bindings kept for add_vb; those
  // from vb_slots on are null.
  Vb* vbs[PDU_MAX_VBS];
  int vb_count;
  int vb_slots;
  int error_status;
  int error_index;
  int validity;
  uint32_t request_id;
  unsigned short pdu_type;
  TimeTicks notify_timestamp;
  Oid notify_id;
  Oid notify_enterprise;
  int security_level;
  uint32_t message_id;
  uint32_t maxsize_scopedpdu;
  OctetStr context_name;
  OctetStr context_engine_id;
};

void set_error_status(Pdu* pdu, int status);
void set_error_index(Pdu* pdu, int index);
void clear_error_status(Pdu* pdu);
void clear_error_index(Pdu* pdu);
void set_request_id(Pdu* pdu, unsigned long id);
