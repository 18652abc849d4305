directory @ROOT@/dns/data
;OS: Windows NT 4.X
cache . cache.dns
primary plain.com plain.dns
