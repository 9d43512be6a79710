#include "com/event_point.h"

#include <olectl.h>

#include "com/h5kakei.h"
#include "com/server.h"

namespace h5 {

EventPoint::~EventPoint() {
  for (auto& [cookie, sink] : sinks_) sink->Release();
}

HRESULT EventPoint::QueryInterface(REFIID iid, void** out) {
  return QueryOnly<IConnectionPoint>(this, IID_IConnectionPoint, iid, out);
}

HRESULT EventPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = DIID___frmKakei;
  return S_OK;
}

HRESULT EventPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  if (!out) return E_POINTER;
  *out = &owner_;
  owner_.AddRef();
  return S_OK;
}

HRESULT EventPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  // Any sink will do: there is nothing it would be called with.
  sink->AddRef();
  *cookie = next_cookie_++;
  sinks_[*cookie] = sink;
  return S_OK;
}

HRESULT EventPoint::Unadvise(DWORD cookie) {
  auto it = sinks_.find(cookie);
  if (it == sinks_.end()) return CONNECT_E_NOCONNECTION;
  it->second->Release();
  sinks_.erase(it);
  return S_OK;
}

HRESULT EventPoint::EnumConnections(IEnumConnections** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

namespace {

class PointEnumerator final : public IEnumConnectionPoints {
 public:
  PointEnumerator(IConnectionPoint* point, ULONG position) : point_(point), position_(position) {
    point_->AddRef();
    HoldServer();
  }
  ~PointEnumerator() {
    point_->Release();
    ReleaseServer();
  }
  PointEnumerator(const PointEnumerator&) = delete;
  PointEnumerator& operator=(const PointEnumerator&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return QueryOnly<IEnumConnectionPoints>(this, IID_IEnumConnectionPoints, iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override {
    if (!points || (count > 1 && !fetched)) return E_POINTER;
    ULONG given = 0;
    if (count > 0 && position_ == 0) {
      points[0] = point_;
      point_->AddRef();
      given = 1;
      position_ = 1;
    }
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    if (count == 0) return S_OK;
    bool had = position_ == 0;
    position_ = 1;
    return had && count == 1 ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    position_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** out) override {
    if (!out) return E_POINTER;
    *out = new PointEnumerator(point_, position_);
    return S_OK;
  }

 private:
  IConnectionPoint* point_;
  ULONG position_;
  ULONG references_ = 1;
};

}  // namespace

HRESULT NewPointEnumerator(IConnectionPoint* point, IEnumConnectionPoints** out) {
  if (!out) return E_POINTER;
  *out = new PointEnumerator(point, 0);
  return S_OK;
}

}  // namespace h5
