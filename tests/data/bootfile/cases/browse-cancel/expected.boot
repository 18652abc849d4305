directory C:\\dns\\missing
;OS: Windows NT 4.X
cache . cache.dns
