#include "fb_session.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace fbtest {

std::string StatusText(const ISC_STATUS* status) {
  std::string out;
  char buf[1024];
  const ISC_STATUS* p = status;
  while (fb_interpret(buf, sizeof buf, &p) > 0) {
    if (!out.empty()) out += "; ";
    out += buf;
  }
  return out;
}

namespace {

void Check(const ISC_STATUS* status, const std::string& what) {
  if (status[0] == 1 && status[1] != 0) throw std::runtime_error(what + ": " + StatusText(status));
}

struct Sqlda {
  std::unique_ptr<char[]> mem;
  XSQLDA* da = nullptr;
  explicit Sqlda(short n) : mem(new char[XSQLDA_LENGTH(n)]()) {
    da = reinterpret_cast<XSQLDA*>(mem.get());
    da->version = SQLDA_VERSION1;
    da->sqln = n;
  }
};

std::string ReadBlob(isc_db_handle* db, isc_tr_handle* tr, ISC_QUAD* id) {
  ISC_STATUS_ARRAY status;
  isc_blob_handle blob = 0;
  isc_open_blob2(status, db, tr, &blob, id, 0, nullptr);
  Check(status, "open blob");
  std::string out;
  char buf[8192];
  for (;;) {
    unsigned short len = 0;
    ISC_STATUS rc = isc_get_segment(status, &blob, &len, sizeof buf, buf);
    if (rc != 0 && rc != isc_segment) break;
    out.append(buf, len);
  }
  isc_close_blob(status, &blob);
  return out;
}

// An exact numeric column: the unscaled integer and its scaled value.
template <typename T>
void ReadInteger(const char* data, double factor, SqlValue& value) {
  T x;
  std::memcpy(&x, data, sizeof x);
  value.integer = x;
  value.number = static_cast<double>(x) / factor;
}

}  // namespace

std::string SqlValue::Show() const {
  if (is_null) return "NULL";
  char buf[64];
  switch (type) {
    case SQL_TEXT:
    case SQL_VARYING:
    case SQL_BLOB: {
      std::string out = "'";
      for (unsigned char c : text) {
        if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c < 32 || c >= 127) {
          std::snprintf(buf, sizeof buf, "\\x%02X", c);
          out += buf;
        } else out.push_back(static_cast<char>(c));
      }
      return out + "'";
    }
    case SQL_TIMESTAMP:
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
      std::snprintf(buf, sizeof buf, "ts(%d,%u)", timestamp.timestamp_date, timestamp.timestamp_time);
      return buf;
    default:
      std::snprintf(buf, sizeof buf, "%.17g", number);
      return buf;
  }
}

FbSession::FbSession(const std::string& database, const std::string& charset) {
  ISC_STATUS_ARRAY status;
  std::string dpb;
  dpb.push_back(isc_dpb_version1);
  dpb.push_back(isc_dpb_user_name);
  dpb.push_back(6);
  dpb += "SYSDBA";
  if (!charset.empty() && charset.size() < 64) {
    dpb.push_back(isc_dpb_lc_ctype);
    dpb.push_back(static_cast<char>(charset.size()));
    dpb += charset;
  }
  isc_attach_database(status, 0, database.c_str(), &db_, static_cast<short>(dpb.size()), dpb.data());
  Check(status, "attach " + database);
}

FbSession::~FbSession() {
  ISC_STATUS_ARRAY status;
  if (db_ != 0) isc_detach_database(status, &db_);
}

std::vector<Row> FbSession::Query(const std::string& sql) {
  ISC_STATUS_ARRAY status;
  isc_tr_handle tr = 0;
  isc_start_transaction(status, &tr, 1, &db_, 0, nullptr);
  Check(status, "start transaction");
  isc_stmt_handle stmt = 0;
  std::vector<Row> rows;
  try {
    isc_dsql_allocate_statement(status, &db_, &stmt);
    Check(status, "allocate statement");
    Sqlda out(1);
    isc_dsql_prepare(status, &tr, &stmt, 0, sql.c_str(), SQL_DIALECT_V6, out.da);
    Check(status, sql);
    if (out.da->sqld > out.da->sqln) {
      out = Sqlda(out.da->sqld);
      isc_dsql_describe(status, &stmt, 1, out.da);
      Check(status, "describe");
    }
    short n = out.da->sqld;
    std::vector<std::unique_ptr<char[]>> buffers;
    std::vector<short> nulls(static_cast<size_t>(n));
    for (short i = 0; i < n; ++i) {
      XSQLVAR& v = out.da->sqlvar[i];
      size_t size = static_cast<size_t>(v.sqllen) + ((v.sqltype & ~1) == SQL_VARYING ? 2 : 0);
      buffers.emplace_back(new char[size + 8]());
      v.sqldata = buffers.back().get();
      v.sqlind = &nulls[static_cast<size_t>(i)];
    }
    isc_dsql_execute(status, &tr, &stmt, 1, nullptr);
    Check(status, sql);
    while (n > 0) {
      ISC_STATUS rc = isc_dsql_fetch(status, &stmt, 1, out.da);
      if (rc == 100) break;
      Check(status, "fetch");
      Row row;
      for (short i = 0; i < n; ++i) {
        XSQLVAR& v = out.da->sqlvar[i];
        SqlValue value;
        value.type = static_cast<short>(v.sqltype & ~1);
        value.scale = v.sqlscale;
        value.is_null = (v.sqltype & 1) && *v.sqlind < 0;
        if (!value.is_null) {
          const char* d = v.sqldata;
          double factor = 1;
          for (int s = 0; s < -v.sqlscale; ++s) factor *= 10;
          switch (value.type) {
            case SQL_TEXT: value.text.assign(d, static_cast<size_t>(v.sqllen)); break;
            case SQL_VARYING: {
              short len;
              std::memcpy(&len, d, 2);
              value.text.assign(d + 2, static_cast<size_t>(len));
              break;
            }
            case SQL_SHORT: ReadInteger<int16_t>(d, factor, value); break;
            case SQL_LONG: ReadInteger<int32_t>(d, factor, value); break;
            case SQL_INT64: ReadInteger<int64_t>(d, factor, value); break;
            case SQL_FLOAT: {
              float x;
              std::memcpy(&x, d, sizeof x);
              value.number = x;
              break;
            }
            case SQL_DOUBLE:
            case SQL_D_FLOAT: std::memcpy(&value.number, d, sizeof(double)); break;
            case SQL_TIMESTAMP: std::memcpy(&value.timestamp, d, sizeof(ISC_TIMESTAMP)); break;
            case SQL_TYPE_DATE: std::memcpy(&value.timestamp.timestamp_date, d, 4); break;
            case SQL_TYPE_TIME: std::memcpy(&value.timestamp.timestamp_time, d, 4); break;
            case SQL_BLOB: {
              ISC_QUAD id;
              std::memcpy(&id, d, sizeof id);
              value.text = ReadBlob(&db_, &tr, &id);
              break;
            }
            default: throw std::runtime_error("unsupported column type in " + sql);
          }
        }
        row.push_back(std::move(value));
      }
      rows.push_back(std::move(row));
    }
    isc_dsql_free_statement(status, &stmt, DSQL_drop);
    stmt = 0;
    isc_commit_transaction(status, &tr);
    Check(status, "commit");
  } catch (...) {
    ISC_STATUS_ARRAY ignored;
    if (stmt != 0) isc_dsql_free_statement(ignored, &stmt, DSQL_drop);
    if (tr != 0) isc_rollback_transaction(ignored, &tr);
    throw;
  }
  return rows;
}

SqlValue FbSession::Scalar(const std::string& sql) {
  std::vector<Row> rows = Query(sql);
  if (rows.size() != 1 || rows[0].size() != 1) {
    throw std::runtime_error("expected one value from " + sql);
  }
  return rows[0][0];
}

}  // namespace fbtest
