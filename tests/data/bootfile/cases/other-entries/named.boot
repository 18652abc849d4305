directory C:\\dns\\data
cache . cache.dns
include /etc/named.local
sortlist 10.0.0.0
check-names response fail
primary/HS hesiod.example hesiod.db
Forwarders 10.2.2.2
primary example.com example.com.dns
   
