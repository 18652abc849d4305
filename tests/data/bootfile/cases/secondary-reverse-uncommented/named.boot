directory C:\\dns\\data
;OS: Windows NT 4.X
cache . cache.dns
secondary 3.10.IN-ADDR.ARPA 10.0.0.1 3.10.rev
