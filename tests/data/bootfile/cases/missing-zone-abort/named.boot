directory C:\\dns\\data
;OS: Windows NT 4.X
cache . cache.dns
primary gone.com gone.dns
primary kept.com kept.dns
