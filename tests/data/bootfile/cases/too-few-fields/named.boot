directory C:\\dns\\data
;OS: Windows NT 4.X
cache . cache.dns
primary lonely.com
secondary few.net 10.0.0.1
primary good.com good.dns
