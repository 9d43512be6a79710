// The control's connection point for its event interface __frmKakei, which
// has no events: sinks may connect and disconnect, and are never called.
// It lives inside the control and shares its reference count.
#ifndef H5KAKEI_COM_EVENT_POINT_H_
#define H5KAKEI_COM_EVENT_POINT_H_

#include <ocidl.h>

#include <map>

namespace h5 {

class EventPoint : public IConnectionPoint {
 public:
  explicit EventPoint(IConnectionPointContainer& owner) : owner_(owner) {}
  ~EventPoint();
  EventPoint(const EventPoint&) = delete;
  EventPoint& operator=(const EventPoint&) = delete;

  // IUnknown, delegated to the owner.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return owner_.AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return owner_.Release(); }

  // IConnectionPoint.
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

 private:
  IConnectionPointContainer& owner_;
  std::map<DWORD, IUnknown*> sinks_;
  DWORD next_cookie_ = 1;
};

// An enumerator over the one connection point.
HRESULT NewPointEnumerator(IConnectionPoint* point, IEnumConnectionPoints** out);

}  // namespace h5

#endif  // H5KAKEI_COM_EVENT_POINT_H_
