directory C:\\dns\\data
cache . cache.dns
;OS: Windows NT 3.X
xfrnets      10.0.0.0&255.0.0.0 192.168.1.0&255.255.255.0     
options no-recursion
bogusns      10.9.9.9     
limit transfers-per-ns     2 
options query-log
forwarders      10.1.1.1     
limit transfers-in     10 
options forward-only limit 
;options fake-commented
