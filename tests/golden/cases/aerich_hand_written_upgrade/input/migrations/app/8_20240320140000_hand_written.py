from tortoise import BaseDBAsyncClient
from tortoise.backends.base.client import execute_statement


def index_sql() -> str:
    return "CREATE INDEX idx_order_status ON public.order (status)"


async def backfill(db: BaseDBAsyncClient) -> None:
    await execute_statement(db, "UPDATE \"order\" SET status = 'new' WHERE status IS NULL")
    await execute_statement(db, 'CREATE INDEX CONCURRENTLY idx_order_region ON "order" (region)')


async def upgrade(db: BaseDBAsyncClient) -> str:
    await backfill(db)
    await db.execute_statement("CREATE INDEX idx_ignored ON t (c)")
    if await db.execute_query("SELECT 1"):
        return "ALTER TABLE \"order\" ADD CONSTRAINT ck_order_qty CHECK (qty > 0)"
    sql = index_sql()
    # tarn: ignore R019
    return "DROP TABLE IF EXISTS order_archive; DO $$ BEGIN ALTER TABLE \"order\" ADD CONSTRAINT fk_o FOREIGN KEY (a) REFERENCES b (id) NOT VALID; EXCEPTION WHEN duplicate_object THEN NULL; END $$"


async def downgrade(db: BaseDBAsyncClient) -> str:
    return "DROP INDEX idx_order_status"
