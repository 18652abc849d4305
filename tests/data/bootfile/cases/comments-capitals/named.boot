;directory C:\\dns\\data
;OS: Windows NT 4.X
cache       .     cache.dns 
;primary commented.com commented.dns
; primary spaced.com spaced.dns
Primary capital.com capital.dns
PRIMARY upper.com upper.dns
primary real.com real.dns
;secondary old.net 10.0.0.1 old.bak
Secondary cap.net 10.0.0.1 cap.bak
